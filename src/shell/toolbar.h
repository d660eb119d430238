// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "shell/toolbartable.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QToolButton>
#include <QWidget>
#include <span>
#include <vector>

namespace penwick {

class ToolbarWindow;

// One picture of an image list, addressed by its 1-based index or by its key.
struct ListImage
{
    int Index;
    QString Key;
    QIcon Picture;
};

// The toolbar's pictures: the desktop theme's icon where it has one, else our own drawing.
class ImageList
{
public:
    explicit ImageList(std::span<const ImageRow> rows = toolbarImageRows());

    int Count() const { return int(m_images.size()); }
    // Null for an index the list does not hold.
    const ListImage* ListImages(int index) const;

private:
    std::vector<ListImage> m_images;
};

// A toolbar button. Its Value is 0 (up) or 1 (pressed); a plain push button is always up.
class ToolbarButton : public QToolButton
{
    Q_OBJECT
public:
    ToolbarButton(const QString& key, ButtonStyle style, QWidget* parent = nullptr);

    const QString& Key() const { return m_key; }
    ButtonStyle Style() const { return m_style; }
    void setImage(int index, const ImageList& images);

    int Value() const { return isChecked() ? 1 : 0; }
    // Pressing a group button releases the others of its group.
    void setValue(int value);
    bool Enabled() const { return isEnabled(); }
    QString ToolTip() const { return toolTip(); }

    // The other buttons of a run of adjacent group buttons.
    void setGroup(QList<ToolbarButton*> others) { m_group = std::move(others); }

protected:
    void nextCheckState() override;

private:
    QString m_key;
    ButtonStyle m_style;
    QList<ToolbarButton*> m_group;
};

// The toolbar control: a row of buttons built from a table, docked by its owner across the
// window. It grows into more rows when it is too narrow for all its buttons; its height for a
// given width says how tall it then is.
class ToolbarControl : public QWidget
{
    Q_OBJECT
public:
    ToolbarControl(
        std::span<const ToolbarRow> rows, const ImageList& images, QWidget* parent = nullptr);

    // The button with this key, compared exactly; null for an unknown key.
    ToolbarButton* Buttons(const QString& key) const { return m_byKey.value(key); }
    ToolbarWindow* strip() const { return m_strip; }
    void Refresh() { repaint(); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A button other than a separator was clicked; its Value has already changed.
    void ButtonClick(penwick::ToolbarButton* Button);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int designHeight() const;

    ToolbarWindow* m_strip;
    QHash<QString, ToolbarButton*> m_byKey;
};

} // namespace penwick
