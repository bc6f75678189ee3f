// The auto-start panel over the main window: the program started on insertion, the icon file
// and the icon, chosen among the files of the whole data folder.

#include "app/MainWindow.h"

#include "app/Texts.h"
#include "panels/AutoStartPanel.h"
#include "platform/Messages.h"

AutoStartPanel *MainWindow::autoStartPanel()
{
    if (!m_autoStartPanel) {
        m_autoStartPanel = new AutoStartPanel(this);
        m_autoStartPanel->hide();
        connect(m_autoStartPanel, &AutoStartPanel::changed, this, &MainWindow::autoStartChanged);
        connect(m_autoStartPanel, &AutoStartPanel::accepted, this, &MainWindow::acceptAutoStart);
        connect(m_autoStartPanel, &AutoStartPanel::cancelled, this, &MainWindow::cancelAutoStart);
        connect(m_autoStartPanel, &AutoStartPanel::keyPressed, this, &MainWindow::folderEditKeyPressed);
    }
    return m_autoStartPanel;
}

void MainWindow::openAutoStartPanel()
{
    if (panelOpen())
        return;
    const AutoStartChoice choice{m_document.autoStartProgram, m_document.iconFile, m_document.iconIndex};
    m_choiceBeforePanel = {choice, m_document.modified, m_edited};
    autoStartPanel()->load(dataFolder(), choice);
    showPanel(OpenPanel::AutoStart, m_autoStartPanel, m_autoStartPanel->firstControl());
    if (const int left = m_autoStartPanel->unwritableNames())
        m_services.messages.show(this, Texts::namesLeftOut().arg(left), Texts::captionWarning(), Messages::Buttons::Ok,
                                 Messages::Icon::Warning);
}

void MainWindow::applyAutoStart(const AutoStartChoice &choice)
{
    m_document.autoStartProgram = choice.program;
    m_document.iconFile = choice.iconFile;
    m_document.iconIndex = choice.iconIndex;
}

// Each choice is the document's at once: Save beside the panel writes it.
void MainWindow::autoStartChanged(const AutoStartChoice &choice)
{
    applyAutoStart(choice);
    markChanged();
}

void MainWindow::acceptAutoStart(const AutoStartChoice &choice)
{
    applyAutoStart(choice);
    closePanel(m_autoStartPanel);
}

// What was clicked in the panel is let go: the choice it opened with is put back.
void MainWindow::cancelAutoStart()
{
    applyAutoStart(m_choiceBeforePanel.choice);
    m_document.modified = m_choiceBeforePanel.modified;
    m_edited = m_choiceBeforePanel.edited;
    closePanel(m_autoStartPanel);
}
