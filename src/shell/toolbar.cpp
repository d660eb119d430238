// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/toolbar.h"

#include "platform/richtextbox.h"
#include "platform/toolbarstyle.h"
#include "platform/twips.h"
#include "shell/frmnotes.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <algorithm>

namespace penwick {

// --- image list ---------------------------------------------------------------------------

ImageList::ImageList(std::span<const ImageRow> rows)
{
    m_images.reserve(rows.size());
    for (const ImageRow& row : rows) {
        const QIcon ours(QStringLiteral(":/penwick/icons/") + QLatin1String(row.file));
        m_images.push_back({ int(m_images.size()) + 1, QString::fromLatin1(row.key),
            QIcon::fromTheme(QLatin1String(row.themeName), ours) });
    }
}

const ListImage* ImageList::ListImages(int index) const
{
    if (index < 1 || index > Count())
        return nullptr;
    return &m_images[size_t(index) - 1];
}

// --- buttons ------------------------------------------------------------------------------

ToolbarButton::ToolbarButton(const QString& key, ButtonStyle style, QWidget* parent)
    : QToolButton(parent)
    , m_key(key)
    , m_style(style)
{
    setObjectName(key);
    setAccessibleName(key);
    setIconSize(QSize(16, 16));
    setCheckable(style == ButtonStyle::Check || style == ButtonStyle::ButtonGroup);
}

void ToolbarButton::setImage(int index, const ImageList& images)
{
    const ListImage* image = images.ListImages(index);
    setIcon(image ? image->Picture : QIcon());
}

void ToolbarButton::setValue(int value)
{
    if (!isCheckable())
        return;
    setChecked(value != 0);
    if (value != 0) {
        for (ToolbarButton* other : std::as_const(m_group))
            other->setChecked(false);
    }
}

// A click toggles a check button; a group button goes down (and stays down if it already was).
void ToolbarButton::nextCheckState()
{
    if (m_style == ButtonStyle::ButtonGroup)
        setValue(1);
    else
        QToolButton::nextCheckState();
}

// --- the control --------------------------------------------------------------------------

ToolbarControl::ToolbarControl(
    std::span<const ToolbarRow> rows, const ImageList& images, QWidget* parent)
    : QWidget(parent)
    , m_strip(new ToolbarWindow(this))
{
    QList<ToolbarButton*> run; // the group buttons met since the last other entry
    const auto closeRun = [&run] {
        for (ToolbarButton* member : std::as_const(run)) {
            QList<ToolbarButton*> others = run;
            others.removeOne(member);
            member->setGroup(others);
        }
        run.clear();
    };
    for (const ToolbarRow& row : rows) {
        if (row.style == ButtonStyle::Separator) {
            closeRun();
            m_strip->addSeparator();
            continue;
        }
        auto* button = new ToolbarButton(QString::fromLatin1(row.key), row.style);
        button->setImage(row.image, images);
        button->setToolTip(QString::fromLatin1(row.toolTip));
        m_strip->addButton(button);
        m_byKey.insert(button->Key(), button);
        connect(button, &QToolButton::clicked, this, [this, button] { emit ButtonClick(button); });
        if (row.style == ButtonStyle::ButtonGroup)
            run.append(button);
        else
            closeRun();
    }
    closeRun();

    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int ToolbarControl::designHeight() const
{
    return Twips::forScreenOf(this).toPixelsY(420).value_or(28);
}

int ToolbarControl::heightForWidth(int width) const
{
    return std::max(m_strip->heightForWidth(width), designHeight());
}

QSize ToolbarControl::sizeHint() const
{
    const QSize strip = m_strip->sizeHint();
    return { strip.width(), std::max(strip.height(), designHeight()) };
}

QSize ToolbarControl::minimumSizeHint() const
{
    return m_strip->minimumSizeHint();
}

void ToolbarControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The buttons sit in the middle of a band taller than they need.
    const int needed = m_strip->heightForWidth(width());
    m_strip->setGeometry(0, std::max(0, (height() - needed) / 2), width(), needed);
}

// --- the main window's toolbar handlers ---------------------------------------------------

namespace {
// The negation of a mixed state is mixed again.
TriState negation(TriState value)
{
    if (!value.has_value())
        return {};
    return !*value;
}
} // namespace

// Each step stands alone: a button whose command is missing simply does nothing.
void frmNotes::Toolbar_ButtonClick(ToolbarButton* Button)
{
    if (!Button)
        return;
    const QString& key = Button->Key();
    // Commands whose windows come later run through their menu items.
    const auto run = [this](const char* name) {
        if (QAction* item = menuItem(QLatin1String(name)))
            item->trigger();
    };
    // Read, write the negation (mixed stays mixed and writes nothing), read again.
    const auto toggle = [&](auto get, auto set) {
        set(negation(get()));
        Button->setValue(get() == true ? 1 : 0);
    };
    RichTextBox& e = *rtfNotes;

    if (key == u"Save") {
        mnuSave_Click();
    } else if (key == u"SaveAs") {
        // Nothing follows the popup here, so it need not hold up the handler in a loop of its
        // own; either mouse button chooses an item.
        if (QMenu* menu = menuOf(QStringLiteral("mnuExport")))
            menu->popup(QCursor::pos());
    } else if (key == u"Cut") {
        mnuCut_Click();
    } else if (key == u"Copy") {
        mnuCopy_Click();
    } else if (key == u"Paste") {
        mnuPaste_Click();
    } else if (key == u"Find") {
        run("mnuFind");
    } else if (key == u"Print") {
        run("mnuPrint");
    } else if (key == u"FontUp") {
        mnuFPlusOne_Click();
    } else if (key == u"FontDown") {
        mnuFMinusOne_Click();
    } else if (key == u"Bold") {
        toggle([&] { return e.SelBold(); }, [&](TriState v) { e.setSelBold(v); });
    } else if (key == u"Italic") {
        toggle([&] { return e.SelItalic(); }, [&](TriState v) { e.setSelItalic(v); });
    } else if (key == u"Underline") {
        toggle([&] { return e.SelUnderline(); }, [&](TriState v) { e.setSelUnderline(v); });
    } else if (key == u"Align Left") {
        rtfNotes->setSelAlignment(0);
    } else if (key == u"Center") {
        rtfNotes->setSelAlignment(2);
    } else if (key == u"Align Right") {
        rtfNotes->setSelAlignment(1);
    } else if (key == u"Bullet") {
        mnuBullet_Click();
        Button->setValue(rtfNotes->SelBullet() == true ? 1 : 0);
    }
}

void frmNotes::mnuToolbar_Click()
{
    QAction* item = menuItem(QStringLiteral("mnuToolbar"));
    item->setChecked(!item->isChecked());
    Toolbar->setVisible(item->isChecked());
    // The editor moves into or out of the toolbar's band at once.
    Form_Resize();
}

void frmNotes::mnuFlatTool_Click()
{
    QAction* item = menuItem(QStringLiteral("mnuFlatTool"));
    item->setChecked(!item->isChecked());
    SetToolbarStyle(*Toolbar, item->isChecked(), false);
}

} // namespace penwick
