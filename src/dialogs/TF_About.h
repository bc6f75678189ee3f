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
// links, and a note when a newer version is published. While it is shown the main window is
// disabled; hiding it enables the main window again. The first showing with a connection
// checks the update server, once per run.
class TF_About : public SideWindow
{
    Q_OBJECT

public:
    TF_About(const AppServices &services, QWidget *mainWindow, QWidget *parent = nullptr);

    void FormShow();
    bool checkDone() const { return m_checkDone; }
    const UpdateState &updateState() const { return m_update; }
    // How long the update check may wait for the server.
    int checkTimeLimit() const { return m_checkTimeLimit; }
    void setCheckTimeLimit(int milliseconds) { m_checkTimeLimit = milliseconds; }

    QLabel *img_About, *l_Version;
    QLabel *a_l_1, *a_l_2, *a_l_4, *a_l_6, *a_l_8, *a_l_10;
    SensitiveLabel *a_l_3, *a_l_5, *a_l_7, *a_l_9;
    QToolButton *imgGL, *img_Money;
    QLabel *l_SzukamPracy;
    SensitiveLabel *l_SzukamPracy2;
    QToolButton *sb_DownUpdate, *sb_Pomoc, *sb_OK;
    QTimer Timer_SzukamPracy;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void runCheck();
    void showUpdateState();
    void layOut();
    void open(const QString &target, Shell::Show show);
    void openFromServer(const QString &address);

    AppServices m_services;
    QPointer<QWidget> m_mainWindow;
    UpdateState m_update;
    bool m_checkDone = false;
    QObject *m_check = nullptr; // the check under way, whose deletion abandons it
    int m_checkTimeLimit = 15000;
};
