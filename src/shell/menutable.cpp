// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/menutable.h"

#include "shell/frmnotes.h"

namespace penwick {
namespace {

using F = frmNotes;
constexpr MenuCheck No = MenuCheck::None;
constexpr MenuCheck Off = MenuCheck::Unchecked;
constexpr MenuCheck On = MenuCheck::Checked;

// clang-format off
    constexpr MenuRow rows[] = {
        {0, "mnuFile",         "&File",                              none,                          No,    nullptr},
        {1, "mnuSave",         "&Save",                              ctrl(Qt::Key_S),               No,    &F::mnuSave_Click},
        {1, "mnuExport",       "Export (Save &As)",                  none,                          No,    nullptr},
        {2, "mnuTextFile",     "&Plain Text (.txt)",                 none,                          No,    &F::mnuTextFile_Click},
        {2, "mnuRichText",     "&Rich Text (.rtf)",                  none,                          No,    &F::mnuRichText_Click},
        {1, "mnuFsplit",       "-",                                  none,                          No,    nullptr},
        {1, "mnuFHide",        "&Hide",                              none,                          No,    &F::mnuFHide_Click},
        {1, "mnuJskdjflk",     "-",                                  none,                          No,    nullptr},
        {1, "mnuPrint",        "&Print",                             ctrl(Qt::Key_P),               No,    &F::mnuPrint_Click},
        {1, "mnuSep",          "-",                                  none,                          No,    nullptr},
        {1, "mnuExit",         "E&xit",                              none,                          No,    &F::mnuExit_Click},
        {0, "mnuEdit",         "&Edit",                              none,                          No,    nullptr},
        {1, "mnuUndo",         "Undo",                               ctrl(Qt::Key_Z),               No,    &F::mnuUndo_Click},
        {1, "mnuESplitter",    "-",                                  none,                          No,    nullptr},
        {1, "mnuCut",          "C&ut",                               none,                          No,    &F::mnuCut_Click},
        {1, "mnuCopy",         "&Copy",                              none,                          No,    &F::mnuCopy_Click},
        {1, "mnuPaste",        "&Paste",                             none,                          No,    &F::mnuPaste_Click},
        {1, "mnuSplitterr",    "-",                                  none,                          No,    nullptr},
        {1, "mnuSelectAll",    "Select &All",                        ctrl(Qt::Key_A),               No,    &F::mnuSelectAll_Click},
        {0, "mnuInsert",       "&Insert",                            none,                          No,    &F::mnuInsert_Click},
        {1, "mnuBullet",       "&Bullet",                            Qt::ALT | Qt::Key_Backspace,   No,    &F::mnuBullet_Click},
        {1, "mnuISep",         "-",                                  none,                          No,    nullptr},
        {1, "mnuInsertImage",  "I&mage",                             ctrl(Qt::Key_J),               No,    &F::mnuInsertImage_Click},
        {1, "mnuIspl",         "-",                                  none,                          No,    nullptr},
        {1, "mnuImportText",   "Text &File (.TXT)",                  none,                          No,    &F::mnuImportText_Click},
        {1, "mnuImportRtf",    "&Rich Text File (.RTF)",             none,                          No,    &F::mnuImportRtf_Click},
        {1, "mnuIsp",          "-",                                  none,                          No,    nullptr},
        {1, "mnuTimeD",        "Time / &Date",                       none,                          No,    &F::mnuTimeD_Click},
        {2, "mnuDate",         "11/16/98",                           none,                          No,    &F::mnuDate_Click},
        {2, "mnuDateTime",     "11/16/98 4:20 PM ",                  none,                          No,    &F::mnuDateTime_Click},
        {2, "mnuLongDDate",    "Monday, November 16, 1998",          none,                          No,    &F::mnuLongDDate_Click},
        {2, "mnuLongDDT",      "Monday, November 16, 1998 4:20 PM ", none,                          No,    &F::mnuLongDDT_Click},
        {2, "mnuLongDate",     "November 16, 1998",                  none,                          No,    &F::mnuLongDate_Click},
        {2, "mnuLongDT",       "November 16, 1998 4:20 PM",          none,                          No,    &F::mnuLongDT_Click},
        {2, "mnuTime",         "4:20 PM",                            none,                          No,    &F::mnuTime_Click},
        {0, "mnuFormat",       "&Format",                            none,                          No,    nullptr},
        {1, "mnuFontStuff",    "&Font",                              none,                          No,    nullptr},
        {2, "mnuFont",         "Change &Font",                       ctrl(Qt::Key_F),               No,    &F::mnuFont_Click},
        {2, "mnuFspl",         "-",                                  none,                          No,    nullptr},
        {2, "mnuFPlusOne",     "Font Size +1",                       Qt::Key_F3,                    No,    &F::mnuFPlusOne_Click},
        {2, "mnuFMinusOne",    "Font Size -1",                       Qt::Key_F2,                    No,    &F::mnuFMinusOne_Click},
        {1, "mnuStyle",        "&Style",                             none,                          No,    nullptr},
        {2, "mnuBold",         "&Bold",                              ctrl(Qt::Key_B),               No,    &F::mnuBold_Click},
        {2, "mnuItalic",       "&Italic",                            ctrl(Qt::Key_I),               No,    &F::mnuItalic_Click},
        {2, "mnuUnder",        "&Underline",                         ctrl(Qt::Key_U),               No,    &F::mnuUnder_Click},
        {2, "mnuStrike",       "&Strike Thu",                        none,                          No,    &F::mnuStrike_Click},
        {2, "mnuStsp",         "-",                                  none,                          No,    nullptr},
        {2, "mnuNormal",       "&Normal",                            none,                          No,    &F::mnuNormal_Click},
        {1, "mnuColors",       "Co&lors",                            none,                          No,    nullptr},
        {2, "mnuFC",           "&Font Color",                        ctrl(Qt::Key_E),               No,    &F::mnuFC_Click},
        {2, "mnuBG",           "&Back Color",                        ctrl(Qt::Key_D),               No,    &F::mnuBG_Click},
        {1, "mnuAlign",        "Alignment",                          none,                          No,    nullptr},
        {2, "mnuLeft",         "Left",                               Qt::Key_F5,                    No,    &F::mnuLeft_Click},
        {2, "mnuCenter",       "Center",                             Qt::Key_F6,                    No,    &F::mnuCenter_Click},
        {2, "mnuRight",        "Right",                              Qt::Key_F7,                    No,    &F::mnuRight_Click},
        {1, "mnuFfsplit",      "-",                                  none,                          No,    nullptr},
        {1, "mnuSelection",    "Selec&tion",                         none,                          No,    nullptr},
        {2, "mnuLowercase",    "&Lowercase",                         none,                          No,    &F::mnuLowercase_Click},
        {2, "mnuUppercase",    "&Uppercase",                         none,                          No,    &F::mnuUppercase_Click},
        {2, "mnS",             "-",                                  none,                          No,    nullptr},
        {2, "mnuTitleCase",    "&Title Case",                        none,                          No,    &F::mnuTitleCase_Click},
        {2, "mnuTruePCase",    "True Proper Case",                   none,                          No,    &F::mnuTruePCase_Click},
        {2, "mnS2",            "-",                                  none,                          No,    nullptr},
        {2, "mnuAltCaps",      "Alternate Caps",                     none,                          No,    &F::mnuAltCaps_Click},
        {2, "mnuReverse",      "Reverse Text",                       none,                          No,    &F::mnuReverse_Click},
        {2, "mnS4",            "-",                                  none,                          No,    nullptr},
        {2, "mnuDelimit",      "Delimit Text",                       none,                          No,    &F::mnuDelimit_Click},
        {2, "mnuRemoveSp",     "Remove Extra Spaces",                none,                          No,    &F::mnuRemoveSp_Click},
        {2, "mnS3",            "-",                                  none,                          No,    nullptr},
        {2, "mnuCountChar",    "Character Count",                    none,                          No,    &F::mnuCountChar_Click},
        {0, "mnuOptions",      "&Options",                           none,                          No,    nullptr},
        {1, "mnuAutoSave",     "&Auto Save",                         none,                          Off,   &F::mnuAutoSave_Click},
        {1, "mnuspo",          "-",                                  none,                          No,    nullptr},
        {1, "mnuStartup",      "&Minimize on startup",               none,                          Off,   &F::mnuStartup_Click},
        {1, "mnuOnTop",        "Always &On Top",                     none,                          Off,   &F::mnuOnTop_Click},
        {1, "mnuOspsp",        "-",                                  none,                          No,    nullptr},
        {1, "mnuRememberPos",  "Remember Position",                  none,                          Off,   &F::mnuRememberPos_Click},
        {1, "mnuRememberSize", "Remember Size",                      none,                          On,    &F::mnuRememberSize_Click},
        {1, "mnuOsp",          "-",                                  none,                          No,    nullptr},
        {1, "mnuToolbar",      "&Toolbar",                           none,                          On,    &F::mnuToolbar_Click},
        {1, "mnuFlatTool",     "&Flat Toolbar",                      none,                          On,    &F::mnuFlatTool_Click},
        {1, "mnupSO",          "-",                                  none,                          No,    nullptr},
        {1, "mnuWrap",         "Word &Wrap",                         none,                          On,    &F::mnuWrap_Click},
        {1, "mnuOSplit",       "-",                                  none,                          No,    nullptr},
        {1, "mnuDefaults",     "Defaults",                           none,                          No,    &F::mnuDefaults_Click},
        {0, "mnuSearch",       "Se&arch",                            none,                          No,    nullptr},
        {1, "mnuFind",         "Find",                               ctrl(Qt::Key_G),               No,    &F::mnuFind_Click},
        {1, "mnuFindAgain",    "Find Next",                          Qt::Key_F4,                    No,    &F::mnuFindAgain_Click},
        {1, "mnuReplace",      "Replace",                            ctrl(Qt::Key_H),               No,    &F::mnuReplace_Click},
        {0, "mnuHelp",         "&Help",                              none,                          No,    nullptr},
        {1, "mnuAbout",        "&About Penwick",                     none,                          No,    &F::mnuAbout_Click},
        {1, "mnuHelpC",        "Help Contents",                      Qt::Key_F1,                    No,    &F::mnuHelpC_Click},
        {0, "mnuTPop",         "Tray Menu",                          none,                          No,    nullptr},
        {1, "mnuShow",         "&Show",                              none,                          No,    &F::mnuShow_Click},
        {1, "mnuHide",         "&Hide",                              none,                          No,    &F::mnuHide_Click},
        {1, "mnutrsp",         "-",                                  none,                          No,    nullptr},
        {1, "mnuTExit",        "E&xit",                              none,                          No,    &F::mnuTExit_Click},
    };
// clang-format on

} // namespace

std::span<const MenuRow> mainMenuRows()
{
    return rows;
}

} // namespace penwick
