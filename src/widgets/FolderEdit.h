#pragma once

#include <QLineEdit>

#include <functional>
#include <memory>

class FileDialogs;
class QToolButton;

// A line edit for a folder, with a small button at its right end (and Alt+Down) that opens
// the folder chooser. The folder may be typed as well; typing only changes the text, and the
// folder is confirmed when the user says so: Enter, leaving the field, or the chooser.
class FolderEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit FolderEdit(QWidget *parent = nullptr);
    ~FolderEdit() override;

    // Where the chooser starts when the edit is empty; a folder chosen becomes the next one.
    QString initialFolder() const { return m_initialDir; }
    void setInitialFolder(const QString &folder) { m_initialDir = folder; }
    // The chooser's title.
    QString dialogTitle() const { return m_dialogText; }
    void setDialogTitle(const QString &text) { m_dialogText = text; }

    // Where the chooser starts when the edit names no folder and none was chosen yet: the
    // folder last worked in, asked only when the chooser opens.
    void setLastFolder(std::function<QString()> lastFolder) { m_lastFolder = std::move(lastFolder); }

    // The chooser to ask; null restores the system one.
    void setDialogs(FileDialogs *dialogs);

    // Puts folder into the edit as a choice of the user's (a recent folder, a new menu).
    void setFolder(const QString &folder);

signals:
    // The user has settled on the text: Enter, the field left after typing, a folder chosen.
    void confirmed();

public slots:
    // Opens the chooser at the edit's folder and puts the folder chosen into the edit.
    void browse();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void placeButton();
    QString startFolder() const;

    QToolButton *m_button;
    bool m_buttonPictured = false;
    std::unique_ptr<FileDialogs> m_ownDialogs;
    FileDialogs *m_dialogs;
    QString m_initialDir;
    std::function<QString()> m_lastFolder;
    QString m_dialogText = QStringLiteral("Wskaż folder");
};
