// SPDX-License-Identifier: MIT
// Captions that grow to their text, measured only when they change and only when shown.
#include "shared/Captions.h"

#include <QEvent>
#include <QFont>
#include <QHash>
#include <QLabel>
#include <QMargins>
#include <QPointer>
#include <QVector>
#include <QWidget>
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

// The width a label's text needs, as its size hint gives it, for everything the hint
// depends on. Controls of one kind show the same captions in the same faces, so each
// caption is measured once per process rather than once per control and language switch.
struct HintKey
{
    QString text;
    QFont font;
    const QStyle *style;
    int textFormat, alignment, indent, margin, frame;
    bool wordWrap;
    QMargins contents;

    explicit HintKey(const QLabel *label)
        : text(label->text())
        , font(label->font())
        , style(label->style())
        , textFormat(int(label->textFormat()))
        , alignment(int(label->alignment()))
        , indent(label->indent())
        , margin(label->margin())
        , frame(label->frameWidth())
        , wordWrap(label->wordWrap())
        , contents(label->contentsMargins())
    {
    }
    bool operator==(const HintKey &other) const
    {
        return text == other.text && font == other.font && style == other.style && textFormat == other.textFormat
            && alignment == other.alignment && indent == other.indent && margin == other.margin && frame == other.frame
            && wordWrap == other.wordWrap && contents == other.contents;
    }
};

size_t qHash(const HintKey &key, size_t start = 0)
{
    return qHashMulti(start, key.text, key.font, key.indent, key.margin, key.frame);
}

int hintWidth(const QLabel *label)
{
    static QHash<HintKey, int> widths;
    // Pixmaps, movies and pictures are measured every time; captions are text.
    if (label->pixmap().isNull() && !label->movie() && label->picture().isNull()) {
        HintKey key(label);
        if (const auto it = widths.constFind(key); it != widths.constEnd())
            return *it;
        const int width = label->sizeHint().width();
        if (widths.size() >= 4096) // many languages and faces: start again
            widths.clear();
        widths.insert(std::move(key), width);
        return width;
    }
    return label->sizeHint().width();
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
        m_label->resize(qMax(m_label->width(), hintWidth(m_label)), m_label->height());
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

int fitCaptionColumn(QWidget *control, int &growth, const CaptionColumn &column)
{
    const int needed = qMax(column.needed, column.designEnd);
    const int shift = needed - column.designEnd - growth;
    if (shift == 0 || (shift < 0 && column.growOnly))
        return 0;
    for (QWidget *caption : column.captions)
        caption->resize(needed - caption->x(), caption->height());
    for (QWidget *widget : column.moved)
        widget->move(widget->x() + shift, widget->y());
    for (QWidget *widget : column.widened)
        widget->resize(widget->width() + shift, widget->height());
    growth += shift;
    control->resize(control->sizeHint());
    control->updateGeometry();
    return shift;
}

} // namespace MKorvane
