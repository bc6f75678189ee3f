#pragma once

#include <QFrame>
#include <QStringList>

class PathLabel;
class QComboBox;
class QLabel;
class QPushButton;

// The panel that adds an entry to the drive's context menu or edits one: the file the entry
// opens, and its caption, typed or picked from suggestions. OK (Dodaj) ends the panel with
// accepted and the caption, Anuluj with cancelled.
class ItemPanel : public QFrame
{
    Q_OBJECT

public:
    explicit ItemPanel(QWidget *parent = nullptr);

    // A new entry for the file shown as shownPath: the suggestions offered, the third of them
    // (the file's own name) typed in.
    void loadNew(const QString &shownPath, const QStringList &suggestions);
    // An entry that exists: its caption typed in, the captions offered.
    void loadEdit(const QString &shownPath, const QStringList &captions, const QString &caption);
    QString caption() const;
    // The control the keys go to when the panel opens.
    QWidget *firstControl() const;

    void accept();
    void cancel();

signals:
    void accepted(const QString &caption);
    void cancelled();
    // A key pressed in the caption, after the panel has seen Enter and Escape.
    void keyPressed(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void captionEdited();
    void setHeading(const QString &heading);

    QLabel *m_heading, *m_captionPrompt;
    PathLabel *m_path;
    QComboBox *m_captionBox;
    QPushButton *m_cancelButton, *m_okButton;
};
