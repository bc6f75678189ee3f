#include "dialogs/TF_Sprawdz.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TF_Sprawdz::TF_Sprawdz(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TF_Sprawdz"));
    setWindowTitle(QStringLiteral("Sprawdź płytę"));
    resize(520, 260);

    lb_Wyniki = new QListWidget(this);
    lb_Wyniki->setObjectName(QStringLiteral("lb_Wyniki"));
    lb_Wyniki->setWordWrap(true);
    lb_Wyniki->setIconSize(QSize(24, 24));
    sb_Zamknij = new QPushButton(QStringLiteral("Zamknij"), this);
    sb_Zamknij->setObjectName(QStringLiteral("sb_Zamknij"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(sb_Zamknij);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lb_Wyniki);
    layout->addLayout(buttons);

    connect(sb_Zamknij, &QPushButton::clicked, this, &QDialog::close);
    connect(lb_Wyniki, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const int row = lb_Wyniki->row(item);
        if (row >= 0 && row < m_findings.size())
            emit findingChosen(m_findings[row]);
    });
}

void TF_Sprawdz::setFindings(const QList<DiscFinding> &findings)
{
    m_findings = findings;
    lb_Wyniki->clear();
    for (const DiscFinding &finding : findings) {
        const bool error = finding.severity == DiscFinding::Severity::Error;
        const QIcon icon = style()->standardIcon(error ? QStyle::SP_MessageBoxCritical
                                                       : QStyle::SP_MessageBoxWarning);
        auto *row = new QListWidgetItem(icon, finding.message, lb_Wyniki);
        row->setToolTip(finding.code);
    }
    if (lb_Wyniki->count() > 0)
        lb_Wyniki->setCurrentRow(0);
}
