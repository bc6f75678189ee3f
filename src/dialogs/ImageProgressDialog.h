#pragma once

#include "core/DiscImage.h"

#include <QDialog>

#include <atomic>
#include <mutex>

class QLabel;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;

// Makes a disc image on a worker thread and shows how far it has got: the percentage and the
// file being added. "Anuluj" (or closing the window, or Escape) stops the work, which leaves no
// image; the window closes once the worker has ended, whichever way.
class ImageProgressDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ImageProgressDialog(QWidget *parent = nullptr);
    ~ImageProgressDialog() override;

    // Runs the job while the window is shown (modal to its parent) and returns its result.
    DiscImageResult run(DiscImageJob job);

public slots:
    void reject() override;

private:
    QProgressBar *m_progressBar;
    QLabel *m_descriptionLabel, *m_fileLabel;
    QPushButton *m_cancelButton;

    void showProgress();

    QThread *m_worker = nullptr;
    QTimer *m_timer;
    std::atomic_bool m_cancel{false};
    DiscImageResult m_result;
    // Written by the worker, read by the timer.
    std::mutex m_mutex;
    int m_percent = 0;
    QString m_file;
};
