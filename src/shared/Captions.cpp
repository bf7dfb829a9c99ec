// SPDX-License-Identifier: MIT
// Captions that grow to their text, measured only when they change and only when shown.
#include "shared/Captions.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QPointer>
#include <QVector>
#include <utility>

namespace MKorvane {

namespace {

// The open batches and the labels they captioned (user-interface thread only).
int batchDepth = 0;
QVector<QPointer<QLabel>> &deferred()
{
    static QVector<QPointer<QLabel>> labels;
    return labels;
}

// What a label last grew for; it watches the label so that a label that was hidden grows
// when it is shown.
class CaptionFit : public QObject
{
public:
    explicit CaptionFit(QLabel *label)
        : QObject(label)
        , m_label(label)
    {
        label->installEventFilter(this);
    }

    static CaptionFit *of(QLabel *label)
    {
        auto *fit = label->findChild<CaptionFit *>(QString(), Qt::FindDirectChildrenOnly);
        return fit ? fit : new CaptionFit(label);
    }

    // Grows the label now, or at the end of the open batch.
    void fitOrDefer()
    {
        if (batchDepth == 0) {
            fit();
        } else if (!m_deferred) {
            m_deferred = true;
            deferred().append(m_label);
        }
    }

    void fit()
    {
        m_deferred = false;
        if (m_label->isHidden())
            return;
        const QString text = m_label->text();
        const QFont font = m_label->font();
        if (m_measured && text == m_text && font == m_font)
            return;
        m_label->resize(qMax(m_label->width(), m_label->sizeHint().width()), m_label->height());
        m_measured = true;
        m_text = text;
        m_font = font;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Sent on setVisible(true) whether or not the window is on screen yet.
        if (event->type() == QEvent::ShowToParent)
            fit();
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel *m_label;
    bool m_measured = false;
    bool m_deferred = false;
    QString m_text;
    QFont m_font;
};

} // namespace

bool setCaption(QLabel *label, const QString &caption)
{
    const bool changed = label->text() != caption;
    if (changed)
        label->setText(caption);
    CaptionFit::of(label)->fitOrDefer();
    return changed;
}

void fitCaption(QLabel *label)
{
    CaptionFit::of(label)->fitOrDefer();
}

CaptionBatch::CaptionBatch()
{
    ++batchDepth;
}

CaptionBatch::~CaptionBatch()
{
    if (--batchDepth > 0)
        return;
    const QVector<QPointer<QLabel>> labels = std::exchange(deferred(), {});
    for (const QPointer<QLabel> &label : labels) {
        if (label)
            CaptionFit::of(label)->fit();
    }
}

} // namespace MKorvane
