// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/popuptable.h"

#include "shell/frmmenu.h"
#include "shell/frmnotes.h"
#include "shell/menutable.h"

namespace penwick {
namespace {

using F = frmNotes;
using M = frmMenu;

// clang-format off
    constexpr PopupRow rows[] = {
        {0, "mnuPopup",      "&Edit",                              none,                        nullptr,               nullptr},
        {1, "mnuUndo",       "Undo",                               ctrl(Qt::Key_Z),             &F::mnuUndo_Click,      nullptr},
        {1, "mnuEsp",        "-",                                  none,                        nullptr,               nullptr},
        {1, "mnuCut",        "C&ut",                               none,                        &F::mnuCut_Click,       nullptr},
        {1, "mnuCopy",       "&Copy",                              none,                        &F::mnuCopy_Click,      nullptr},
        {1, "mnuPaste",      "&Paste",                             none,                        &F::mnuPaste_Click,     nullptr},
        {1, "mnuEspl",       "-",                                  none,                        nullptr,               nullptr},
        {1, "mnuSelectAll",  "Select &All",                        ctrl(Qt::Key_A),             &F::mnuSelectAll_Click, nullptr},
        {1, "mnuEspli",      "-",                                  none,                        nullptr,               nullptr},
        {1, "mnuInsert",     "&Insert",                            none,                        nullptr,               &M::mnuInsert_Click},
        {2, "mnuBullet",     "&Bullet",                            Qt::ALT | Qt::Key_Backspace, &F::mnuBullet_Click,    nullptr},
        {2, "mnuEIsp",       "-",                                  none,                        nullptr,               nullptr},
        {2, "mnuImage",      "I&mage",                             ctrl(Qt::Key_J),             &F::mnuInsertImage_Click, nullptr},
        {2, "mnuEIspl",      "-",                                  none,                        nullptr,               nullptr},
        {2, "mnuText",       "Text &File (.TXT)",                  none,                        &F::mnuImportText_Click, nullptr},
        {2, "mnuRtf",        "&Rich Text File (.RTF)",             none,                        &F::mnuImportRtf_Click, nullptr},
        {2, "mnuEIspli",     "-",                                  none,                        nullptr,               nullptr},
        {2, "mnuTimeD",      "Time / &Date",                       none,                        nullptr,               &M::mnuTimeD_Click},
        {3, "mnuDate",       "11/16/98",                           none,                        &F::mnuDate_Click,      nullptr},
        {3, "mnuDateTime",   "11/16/98 4:20 PM ",                  none,                        &F::mnuDateTime_Click,  nullptr},
        {3, "mnuLongDDate",  "Monday, November 16, 1998",          none,                        &F::mnuLongDDate_Click, nullptr},
        {3, "mnuLongDDT",    "Monday, November 16, 1998 4:20 PM ", none,                        &F::mnuLongDDT_Click,   nullptr},
        {3, "mnuLongDate",   "November 16, 1998",                  none,                        &F::mnuLongDate_Click,  nullptr},
        {3, "mnuLongDT",     "November 16, 1998 4:20 PM",          none,                        &F::mnuLongDT_Click,    nullptr},
        {3, "mnuTime",       "4:20 PM",                            none,                        &F::mnuTime_Click,      nullptr},
        {1, "mnuEsplit",     "-",                                  none,                        nullptr,               nullptr},
        {1, "mnuFontMenu",   "&Font",                              none,                        nullptr,               nullptr},
        {2, "mnuFont",       "Change &Font",                       ctrl(Qt::Key_F),             &F::mnuFont_Click,      nullptr},
        {2, "mnuEFsp",       "-",                                  none,                        nullptr,               nullptr},
        {2, "mnuPlusOne",    "Font Size +1",                       Qt::Key_F3,                  &F::mnuFPlusOne_Click,  nullptr},
        {2, "mnuMinusOne",   "Font Size -1",                       Qt::Key_F2,                  &F::mnuFMinusOne_Click, nullptr},
        {1, "mnuStyle",      "&Style",                             none,                        nullptr,               nullptr},
        {2, "mnuBold",       "&Bold",                              ctrl(Qt::Key_B),             &F::mnuBold_Click,      nullptr},
        {2, "mnuItalic",     "&Italic",                            ctrl(Qt::Key_I),             &F::mnuItalic_Click,    nullptr},
        {2, "mnuUnderline",  "&Underline",                         ctrl(Qt::Key_U),             &F::mnuUnder_Click,     nullptr},
        {2, "mnuStrike",     "&Strike Thru",                       none,                        &F::mnuStrike_Click,    nullptr},
        {2, "mnuStsp",       "-",                                  none,                        nullptr,               nullptr},
        {2, "mnuNormal",     "&Normal",                            none,                        &F::mnuNormal_Click,    nullptr},
        {1, "mnuColorMenu",  "Co&lors",                            none,                        nullptr,               nullptr},
        {2, "mnuFColor",     "&Font Color",                        ctrl(Qt::Key_E),             &F::mnuFC_Click,        nullptr},
        {2, "mnuBColor",     "&Back Color",                        ctrl(Qt::Key_D),             &F::mnuBG_Click,        nullptr},
        {1, "mnuAlign",      "&Alignment",                         none,                        nullptr,               nullptr},
        {2, "mnuLeft",       "&Left",                              Qt::Key_F5,                  nullptr,               &M::mnuLeft_Click},
        {2, "mnuCenter",     "&Center",                            Qt::Key_F6,                  nullptr,               &M::mnuCenter_Click},
        {2, "mnuRight",      "&Right",                             Qt::Key_F7,                  nullptr,               &M::mnuRight_Click},
        {1, "mnuEsplite",    "-",                                  none,                        nullptr,               nullptr},
        {1, "mnuSelection",  "Selec&tion",                         none,                        nullptr,               nullptr},
        {2, "mnuLowercase",  "&Lowercase",                         none,                        &F::mnuLowercase_Click, nullptr},
        {2, "mnuUppercase",  "&Uppercase",                         none,                        &F::mnuUppercase_Click, nullptr},
        {2, "mnS1",          "-",                                  none,                        nullptr,               nullptr},
        {2, "mnuTitleCase",  "&Title Case",                        none,                        &F::mnuTitleCase_Click, nullptr},
        {2, "mnuTruePCase",  "True Proper Case",                   none,                        &F::mnuTruePCase_Click, nullptr},
        {2, "mnS2",          "-",                                  none,                        nullptr,               nullptr},
        {2, "mnuAltCaps",    "Alternate Caps",                     none,                        &F::mnuAltCaps_Click,   nullptr},
        {2, "mnuReverse",    "Reverse Text",                       none,                        &F::mnuReverse_Click,   nullptr},
        {2, "mnS3",          "-",                                  none,                        nullptr,               nullptr},
        {2, "mnuDelimit",    "Delimit Text",                       none,                        &F::mnuDelimit_Click,   nullptr},
        {2, "mnuRemoveSp",   "Remove Extra Spaces",                none,                        &F::mnuRemoveSp_Click,  nullptr},
        {2, "mnS4",          "-",                                  none,                        nullptr,               nullptr},
        {2, "mnuCountChar",  "Character Count",                    none,                        &F::mnuCountChar_Click, nullptr},
    };
// clang-format on

} // namespace

std::span<const PopupRow> popupRows()
{
    return rows;
}

} // namespace penwick
