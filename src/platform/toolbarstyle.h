// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <QWidget>
#include <cstdint>

class QToolButton;

namespace penwick {

// The strip of buttons inside a toolbar control. It lays its items out left to right and wraps
// them into more rows when the width runs out, so that every button stays reachable. Its style
// bits choose the look of all its buttons: flat (raised only under the mouse) and list (text
// beside the image).
class ToolbarWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr std::uint32_t TBSTYLE_FLAT = 0x0800;
    static constexpr std::uint32_t TBSTYLE_LIST = 0x1000;

    explicit ToolbarWindow(QWidget* parent = nullptr);

    void addButton(QToolButton* button);
    void addSeparator();
    // Buttons and separators in order.
    const QList<QWidget*>& items() const { return m_items; }

    std::uint32_t styleBits() const { return m_style; }
    void setStyleBits(std::uint32_t bits);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Item geometries for a strip `width` pixels wide; the last rectangle is the bounding box.
    QList<QRect> layoutFor(int width) const;
    QSize itemSize(const QWidget* item) const;
    void applyStyle(QToolButton* button) const;
    void relayout();

    QList<QWidget*> m_items;
    std::uint32_t m_style = 0; // raised buttons, image only
};

// Switches a toolbar control between the flat and the raised look, and the list style on or off,
// through the style bits of its first button strip; a control without one is only redrawn.
void SetToolbarStyle(QWidget& Toolbar, bool Flat, bool List);

} // namespace penwick
