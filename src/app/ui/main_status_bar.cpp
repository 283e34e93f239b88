#include "app/ui/main_status_bar.h"

#include <QLabel>
#include <QProgressBar>

MainStatusBar::MainStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(true);
    const int widths[3] = {65, 75, 50};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        m_panels[i]->setContentsMargins(3, 0, 3, 0);
        if (i < 2)
            m_panels[i]->setFixedWidth(widths[i]);
        else
            m_panels[i]->setMinimumWidth(widths[i]);
        addWidget(m_panels[i], i == 2 ? 1 : 0);
    }
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->hide();
}

void MainStatusBar::setPanel(int index, const QString &text)
{
    if (index >= 0 && index < 3)
        m_panels[index]->setText(text);
}

QString MainStatusBar::panel(int index) const
{
    return index >= 0 && index < 3 ? m_panels[index]->text() : QString();
}

void MainStatusBar::ShowProgress(int max)
{
    m_progress->setRange(0, std::max(0, max));
    m_progress->setValue(0);
    m_progress->setGeometry(0, 0, width(), height());
    m_progress->raise();
    m_progress->show();
}

void MainStatusBar::StepProgress(int i) { m_progress->setValue(i); }

void MainStatusBar::HideProgress()
{
    m_progress->hide();
    m_progress->setValue(0);
}

void MainStatusBar::resizeEvent(QResizeEvent *e)
{
    QStatusBar::resizeEvent(e);
    if (m_progress->isVisible())
        m_progress->setGeometry(0, 0, width(), height());
    update();
}
