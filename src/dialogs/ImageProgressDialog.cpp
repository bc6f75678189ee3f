#include "dialogs/ImageProgressDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

ImageProgressDialog::ImageProgressDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TF_Obraz"));
    setWindowTitle(QStringLiteral("Tworzenie obrazu płyty"));
    setWindowModality(Qt::WindowModal);
    setMinimumWidth(460);

    // Reading a large folder comes first and takes a while: the window says so from the start.
    m_descriptionLabel = new QLabel(QStringLiteral("Odczytywanie zawartości folderu z danymi:"), this);
    m_descriptionLabel->setObjectName(QStringLiteral("l_Opis"));
    m_fileLabel = new QLabel(this);
    m_fileLabel->setObjectName(QStringLiteral("l_Plik"));
    m_fileLabel->setTextFormat(Qt::PlainText);
    m_fileLabel->setMinimumWidth(440);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("pb_Postep"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_cancelButton = new QPushButton(QStringLiteral("Anuluj"), this);
    m_cancelButton->setObjectName(QStringLiteral("sb_Anuluj"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_descriptionLabel);
    layout->addWidget(m_fileLabel);
    layout->addWidget(m_progressBar);
    layout->addLayout(buttons);

    m_timer = new QTimer(this);
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &ImageProgressDialog::showProgress);
    connect(m_cancelButton, &QPushButton::clicked, this, &ImageProgressDialog::reject);
}

ImageProgressDialog::~ImageProgressDialog()
{
    if (m_worker) {
        m_cancel = true;
        m_worker->wait();
    }
}

DiscImageResult ImageProgressDialog::run(DiscImageJob job)
{
    m_cancel = false;
    job.cancel = &m_cancel;
    // The worker only records the latest state; the window reads it at its own pace, so a
    // hundred thousand small files do not flood the event queue.
    job.progress = [this](int percent, const QString &file) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_percent = percent;
        m_file = file;
    };
    m_worker = QThread::create([this, job] { m_result = writeDiscImage(job); });
    connect(m_worker, &QThread::finished, this, [this] {
        showProgress();
        done(m_result.ok ? QDialog::Accepted : QDialog::Rejected);
    });
    m_worker->start();
    m_timer->start();
    exec();
    m_timer->stop();
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    return m_result;
}

void ImageProgressDialog::reject()
{
    // The window stays until the worker has stopped and removed what it wrote.
    if (m_worker && m_worker->isRunning()) {
        m_cancel = true;
        m_cancelButton->setEnabled(false);
        m_fileLabel->setText(QStringLiteral("Przerywanie..."));
        return;
    }
    QDialog::reject();
}

void ImageProgressDialog::showProgress()
{
    int percent;
    QString file;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        percent = m_percent;
        file = m_file;
    }
    m_progressBar->setValue(percent);
    if (percent > 0)
        m_descriptionLabel->setText(QStringLiteral("Dodawany plik:"));
    // Paths of the disc, as every other window shows them.
    file.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (!m_cancel)
        m_fileLabel->setText(m_fileLabel->fontMetrics().elidedText(file, Qt::ElideMiddle, m_fileLabel->width()));
}
