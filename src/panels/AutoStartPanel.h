#pragma once

#include <QFrame>
#include <QString>

#include <optional>

class ChoiceList;
class IconList;
class QLabel;
class QPushButton;
class QTabWidget;

// What the auto-start panel chooses: the program started on insertion, the icon file and the
// icon in it (disc paths; no number: the file alone).
struct AutoStartChoice
{
    QString program;
    QString iconFile;
    std::optional<int> iconIndex;
};

// The auto-start panel: the programs and icon files of the whole data folder, from which the
// program, the icon file and the icon are chosen. Each choice is told as it is made, so that
// the window shows it at once; OK ends the panel with accepted, Anuluj with cancelled.
class AutoStartPanel : public QFrame
{
    Q_OBJECT

public:
    explicit AutoStartPanel(QWidget *parent = nullptr);

    // Lists the programs and icon files of the data folder and shows the choice the panel
    // opens with, on the program tab.
    void load(const QString &dataFolder, const AutoStartChoice &choice);
    // How many files the last load left out because their names hold a line break.
    int unwritableNames() const { return m_unwritableNames; }
    AutoStartChoice choice() const;
    // The list the keys go to when the panel opens.
    QWidget *firstControl() const;

    void accept();
    void cancel();

signals:
    void changed(const AutoStartChoice &choice);
    void accepted(const AutoStartChoice &choice);
    void cancelled();
    // A key pressed in one of the panel's lists, after the panel has seen Enter and Escape.
    void keyPressed(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void programChosen();
    void iconFileChosen();
    void iconChosen();
    // Loads the icon list with a file of the folder; the same file is loaded afresh.
    void loadIconList(const QString &discPath);
    // Shows the icons of the file and the icon with the number given, when the file has it.
    void showIcons(const QString &discPath, std::optional<int> index);
    void updateOkButton(bool requireIcons);
    void chose();

    QTabWidget *m_tabs;
    QWidget *m_programPage, *m_iconPage;
    QLabel *m_programPrompt, *m_iconPrompt;
    ChoiceList *m_programList, *m_iconFileList;
    IconList *m_iconList;
    QPushButton *m_cancelButton, *m_okButton;

    QString m_folder;
    int m_unwritableNames = 0;
    QString m_program, m_iconFile;
    // The number the panel opened with while no row of the icon list shows it (a number the
    // file does not hold, a file not in the folder, or no number at all): kept until the user
    // picks an icon.
    std::optional<std::optional<int>> m_keptIndex;
};
