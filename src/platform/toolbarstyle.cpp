// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/toolbarstyle.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>
#include <algorithm>

namespace penwick {
namespace {

// The gap between two groups of buttons: a thin vertical line in the style's own drawing.
class ToolbarSeparator final : public QWidget
{
public:
    explicit ToolbarSeparator(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("separator"));
    }
    QSize sizeHint() const override
    {
        const int extent = style()->pixelMetric(QStyle::PM_ToolBarSeparatorExtent, nullptr, this);
        return { std::max(extent, 2), 1 };
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QStyleOption option;
        option.initFrom(this);
        option.state |= QStyle::State_Horizontal;
        style()->drawPrimitive(QStyle::PE_IndicatorToolBarSeparator, &option, &painter, this);
    }
};

} // namespace

ToolbarWindow::ToolbarWindow(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolbarWindow32"));
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void ToolbarWindow::addButton(QToolButton* button)
{
    button->setParent(this);
    // Clicking a toolbar button leaves the keyboard focus where the user was typing.
    button->setFocusPolicy(Qt::NoFocus);
    applyStyle(button);
    m_items.append(button);
    button->show();
    updateGeometry();
    relayout();
}

void ToolbarWindow::addSeparator()
{
    auto* separator = new ToolbarSeparator(this);
    m_items.append(separator);
    separator->show();
    updateGeometry();
    relayout();
}

void ToolbarWindow::setStyleBits(std::uint32_t bits)
{
    m_style = bits;
    for (QWidget* item : std::as_const(m_items)) {
        if (auto* button = qobject_cast<QToolButton*>(item))
            applyStyle(button);
    }
    updateGeometry();
    relayout();
    update();
}

void ToolbarWindow::applyStyle(QToolButton* button) const
{
    button->setAutoRaise(m_style & TBSTYLE_FLAT);
    button->setToolButtonStyle(
        (m_style & TBSTYLE_LIST) ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
}

// As on native toolbars, an image-only button is its image and a thin frame, buttons sit edge to
// edge, and a separator's gap is all there is between groups: the whole row fits the window's
// designed width.
QSize ToolbarWindow::itemSize(const QWidget* item) const
{
    const auto* button = qobject_cast<const QToolButton*>(item);
    if (button && button->toolButtonStyle() == Qt::ToolButtonIconOnly)
        return button->iconSize() + QSize(7, 6);
    return item->sizeHint();
}

QList<QRect> ToolbarWindow::layoutFor(int width) const
{
    constexpr int margin = 2;
    constexpr int spacing = 0;
    int rowHeight = 0;
    for (const QWidget* item : m_items) {
        if (qobject_cast<const QToolButton*>(item))
            rowHeight = std::max(rowHeight, itemSize(item).height());
    }

    QList<QRect> rects;
    rects.reserve(m_items.size() + 1);
    int x = margin;
    int y = margin;
    int right = margin;
    for (const QWidget* item : m_items) {
        const bool separator = !qobject_cast<const QToolButton*>(item);
        const int w = itemSize(item).width();
        const bool rowStart = x == margin;
        if (!rowStart && x + w > width - margin) {
            x = margin;
            y += rowHeight + spacing;
            if (separator) {
                // A gap at the start of a row would only waste its space.
                rects.append(QRect());
                continue;
            }
        }
        rects.append(QRect(x, y, w, rowHeight));
        right = std::max(right, x + w);
        x += w + spacing;
    }
    rects.append(QRect(0, 0, right + margin, y + rowHeight + margin));
    return rects;
}

int ToolbarWindow::heightForWidth(int width) const
{
    return layoutFor(width).last().height();
}

QSize ToolbarWindow::sizeHint() const
{
    return layoutFor(QWIDGETSIZE_MAX).last().size();
}

QSize ToolbarWindow::minimumSizeHint() const
{
    // One item per row at the narrowest.
    return { layoutFor(0).last().width(), sizeHint().height() };
}

void ToolbarWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void ToolbarWindow::relayout()
{
    const QList<QRect> rects = layoutFor(width());
    for (qsizetype i = 0; i < m_items.size(); ++i)
        m_items[i]->setGeometry(rects[i]);
}

void SetToolbarStyle(QWidget& Toolbar, bool Flat, bool List)
{
    if (auto* strip = Toolbar.findChild<ToolbarWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
        std::uint32_t bits = strip->styleBits();
        bits = Flat ? bits | ToolbarWindow::TBSTYLE_FLAT : bits & ~ToolbarWindow::TBSTYLE_FLAT;
        bits = List ? bits | ToolbarWindow::TBSTYLE_LIST : bits & ~ToolbarWindow::TBSTYLE_LIST;
        strip->setStyleBits(bits);
    }
    Toolbar.repaint();
}

} // namespace penwick
