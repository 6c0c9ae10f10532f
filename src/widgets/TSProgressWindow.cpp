#include "TSProgressWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

TSProgressWindow::TSProgressWindow(const QString& title, const QString& text, bool cancellable, QWidget* parent)
    : QDialog(parent), m_label(new QLabel(text, this)), m_bar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("progressWindow"));
    setWindowTitle(title);
    setModal(true);
    setMinimumWidth(340);
    m_bar->setRange(0, 1000);
    m_bar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 16);
    layout->setSpacing(12);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    if (cancellable) {
        m_cancel = new QPushButton(tr("Cancel"), this);
        m_cancel->setObjectName(QStringLiteral("cancelButton"));
        auto* row = new QHBoxLayout();
        row->addStretch();
        row->addWidget(m_cancel);
        layout->addLayout(row);
        connect(m_cancel, &QPushButton::clicked, this, [this] {
            m_cancelled = true;
            Q_EMIT canceled();
        });
    }
}

double TSProgressWindow::progress() const
{
    return m_bar->value() / 1000.0;
}

QString TSProgressWindow::text() const
{
    return m_label->text();
}

void TSProgressWindow::setProgress(double progress)
{
    const double clamped = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 0.0;
    m_bar->setValue(static_cast<int>(std::lround(clamped * 1000.0)));
}

void TSProgressWindow::setText(const QString& text)
{
    m_label->setText(text);
}
