// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/toolbartable.h"

namespace penwick {
namespace {

// clang-format off
constexpr ImageRow images[] = {
    {"Save",        "document-save",          "save.svg"},
    {"SaveAs",      "document-save-as",       "saveas.svg"},
    {"Cut",         "edit-cut",               "cut.svg"},
    {"Copy",        "edit-copy",              "copy.svg"},
    {"Paste",       "edit-paste",             "paste.svg"},
    {"Find",        "edit-find",              "find.svg"},
    {"Align Left",  "format-justify-left",    "alignleft.svg"},
    {"Center",      "format-justify-center",  "center.svg"},
    {"Align Right", "format-justify-right",   "alignright.svg"},
    {"Delete",      "edit-delete",            "delete.svg"},
    {"Print",       "document-print",         "print.svg"},
    {"Undo",        "edit-undo",              "undo.svg"},
    {"Underline",   "format-text-underline",  "underline.svg"},
    {"Bold",        "format-text-bold",       "bold.svg"},
    {"Italic",      "format-text-italic",     "italic.svg"},
    {"Help",        "help-contents",          "help.svg"},
    {"FontUp",      "format-font-size-more",  "fontup.svg"},
    {"FontDown",    "format-font-size-less",  "fontdown.svg"},
    {"Bullet",      "format-list-unordered",  "bullet.svg"},
};

using S = ButtonStyle;
constexpr ToolbarRow buttons[] = {
    {"",            S::Separator,   0,  ""},
    {"Save",        S::Default,     1,  "Save (CTRL + S)"},
    {"SaveAs",      S::Default,     2,  "Save As..."},
    {"",            S::Separator,   0,  ""},
    {"Cut",         S::Default,     3,  "Cut (CTRL + X)"},
    {"Copy",        S::Default,     4,  "Copy (CTRL + C)"},
    {"Paste",       S::Default,     5,  "Paste (CTRL + V)"},
    {"",            S::Separator,   0,  ""},
    {"Find",        S::Default,     6,  "Find (CTRL + F)"},
    {"",            S::Separator,   0,  ""},
    {"Print",       S::Default,     11, "Print (CTRL + P)"},
    {"",            S::Separator,   0,  ""},
    {"FontUp",      S::Default,     17, "Font Up (F3)"},
    {"FontDown",    S::Default,     18, "Font Down (F2)"},
    {"",            S::Separator,   0,  ""},
    {"Bold",        S::Check,       14, "Bold (CTRL + B)"},
    {"Italic",      S::Check,       15, "Italic (CTRL + I)"},
    {"Underline",   S::Check,       13, "Underline (CTRL + U)"},
    {"",            S::Separator,   0,  ""},
    {"Align Left",  S::ButtonGroup, 7,  "Left Justify (F5)"},
    {"Center",      S::ButtonGroup, 8,  "Center (F6)"},
    {"Align Right", S::ButtonGroup, 9,  "Right Justify (F7)"},
    {"",            S::Separator,   0,  ""},
    {"Bullet",      S::Check,       19, "Bullets  (ALT + Backspace)"},
    {"",            S::Separator,   0,  ""},
};
// clang-format on

} // namespace

std::span<const ImageRow> toolbarImageRows()
{
    return images;
}

std::span<const ToolbarRow> toolbarRows()
{
    return buttons;
}

} // namespace penwick
