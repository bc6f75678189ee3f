#pragma once

#include "platform/AppServices.h"
#include "core/UpdateCheck.h"
#include "platform/Shell.h"
#include "widgets/SideWindow.h"

#include <QPointer>
#include <QTimer>

class QLabel;
class QToolButton;
class SensitiveLabel;

// The about window: the product picture, the running version, the maker's contacts and
// links, and a note when a newer version is published. It is modal to the main window, to which
// it hands the keys back when it hides. The first showing with a connection checks the update
// server in the background, once per run.
class AboutWindow : public SideWindow
{
    Q_OBJECT

public:
    AboutWindow(const AppServices &services, QWidget *mainWindow, QWidget *parent = nullptr);

    void refreshOnShow();
    bool checkDone() const { return m_checkDone; }
    const UpdateState &updateState() const { return m_update; }
    // How long the update check may wait for the server.
    int checkTimeLimit() const { return m_checkTimeLimit; }
    void setCheckTimeLimit(int milliseconds) { m_checkTimeLimit = milliseconds; }

    // Shown as the main window's own dialog: modal for it alone.
    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QLabel *m_picture, *m_versionLabel;
    QLabel *m_contactHeading, *m_emailCaption, *m_messengerCaption, *m_numberCaption, *m_webCaption,
        *m_authorLabel;
    SensitiveLabel *m_emailLink, *m_messengerLink, *m_numberLink, *m_webLink;
    QToolButton *m_profileButton, *m_donationButton;
    QLabel *m_noticeLabel;
    SensitiveLabel *m_noticeLink;
    QToolButton *m_updateButton, *m_helpButton, *m_okButton;
    QTimer m_noticeBlink;

    void runCheck();
    void showUpdateState();
    void layOut();
    void placeNoticeLink();
    void open(const QString &target, Shell::Show show);
    void openFromServer(const QString &address);

    AppServices m_services;
    QPointer<QWidget> m_mainWindow;
    UpdateState m_update;
    bool m_checkDone = false;
    QObject *m_check = nullptr; // the check under way, whose deletion abandons it
    int m_checkTimeLimit = 15000;
};
