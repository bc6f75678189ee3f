#include "dialogs/DiscCheckWindow.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

DiscCheckWindow::DiscCheckWindow(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TF_Sprawdz"));
    setWindowTitle(QStringLiteral("Sprawdź płytę"));
    resize(520, 260);

    m_findingList = new QListWidget(this);
    m_findingList->setObjectName(QStringLiteral("lb_Wyniki"));
    m_findingList->setWordWrap(true);
    m_findingList->setIconSize(QSize(24, 24));
    m_findingList->setAccessibleName(QStringLiteral("Wyniki sprawdzenia płyty"));
    m_closeButton = new QPushButton(QStringLiteral("Zamknij"), this);
    m_closeButton->setObjectName(QStringLiteral("sb_Zamknij"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_findingList);
    layout->addLayout(buttons);

    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(m_findingList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const int row = m_findingList->row(item);
        if (row < 0 || row >= m_findings.size())
            return;
        // A copy: leading to the finding may change the menu, and with it the findings.
        const DiscFinding finding = m_findings[row];
        emit findingChosen(finding);
    });
}

void DiscCheckWindow::setFindings(const QList<DiscFinding> &findings)
{
    if (findings == m_findings && m_findingList->count() == findings.size())
        return;
    m_findings = findings;
    const int current = m_findingList->currentRow(); // kept when the findings are checked again
    m_findingList->clear();
    for (const DiscFinding &finding : findings) {
        using Severity = DiscFinding::Severity;
        const QIcon icon = style()->standardIcon(finding.severity == Severity::Error ? QStyle::SP_MessageBoxCritical
                                                 : finding.severity == Severity::Warning
                                                     ? QStyle::SP_MessageBoxWarning
                                                     : QStyle::SP_MessageBoxInformation);
        auto *row = new QListWidgetItem(icon, finding.message, m_findingList);
        row->setToolTip(finding.code);
    }
    if (m_findingList->count() > 0)
        m_findingList->setCurrentRow(current >= 0 && current < m_findingList->count() ? current : 0);
}
