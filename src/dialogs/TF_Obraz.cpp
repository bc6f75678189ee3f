#include "dialogs/TF_Obraz.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

TF_Obraz::TF_Obraz(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TF_Obraz"));
    setWindowTitle(QStringLiteral("Tworzenie obrazu płyty"));
    setWindowModality(Qt::WindowModal);
    setMinimumWidth(460);

    // Reading a large folder comes first and takes a while: the window says so from the start.
    l_Opis = new QLabel(QStringLiteral("Odczytywanie zawartości folderu z danymi:"), this);
    l_Opis->setObjectName(QStringLiteral("l_Opis"));
    l_Plik = new QLabel(this);
    l_Plik->setObjectName(QStringLiteral("l_Plik"));
    l_Plik->setTextFormat(Qt::PlainText);
    l_Plik->setMinimumWidth(440);
    pb_Postep = new QProgressBar(this);
    pb_Postep->setObjectName(QStringLiteral("pb_Postep"));
    pb_Postep->setRange(0, 100);
    pb_Postep->setValue(0);
    sb_Anuluj = new QPushButton(QStringLiteral("Anuluj"), this);
    sb_Anuluj->setObjectName(QStringLiteral("sb_Anuluj"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(sb_Anuluj);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(l_Opis);
    layout->addWidget(l_Plik);
    layout->addWidget(pb_Postep);
    layout->addLayout(buttons);

    m_timer = new QTimer(this);
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &TF_Obraz::showProgress);
    connect(sb_Anuluj, &QPushButton::clicked, this, &TF_Obraz::reject);
}

TF_Obraz::~TF_Obraz()
{
    if (m_worker) {
        m_cancel = true;
        m_worker->wait();
    }
}

DiscImageResult TF_Obraz::run(DiscImageJob job)
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

void TF_Obraz::reject()
{
    // The window stays until the worker has stopped and removed what it wrote.
    if (m_worker && m_worker->isRunning()) {
        m_cancel = true;
        sb_Anuluj->setEnabled(false);
        l_Plik->setText(QStringLiteral("Przerywanie..."));
        return;
    }
    QDialog::reject();
}

void TF_Obraz::showProgress()
{
    int percent;
    QString file;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        percent = m_percent;
        file = m_file;
    }
    pb_Postep->setValue(percent);
    if (percent > 0)
        l_Opis->setText(QStringLiteral("Dodawany plik:"));
    // Paths of the disc, as every other window shows them.
    file.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (!m_cancel)
        l_Plik->setText(l_Plik->fontMetrics().elidedText(file, Qt::ElideMiddle, l_Plik->width()));
}
