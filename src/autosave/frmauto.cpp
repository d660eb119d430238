// SPDX-License-Identifier: GPL-2.0-or-later
#include "autosave/frmauto.h"

#include "app/settingsconvert.h"
#include "app/settingsstore.h"
#include "platform/twips.h"
#include "shell/frmnotes.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QValidator>

namespace penwick {
namespace {

constexpr int vbKeyUp = 38;
constexpr int vbKeyDown = 40;
constexpr int defaultMinutes = 10;
constexpr int mostMinutes = 255;

// The box takes at most two typed characters; the program may show a longer number in it.
class TwoCharacters final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return input.size() <= 2 ? Acceptable : Invalid;
    }
};

// The number a text holds when it is one, as the scroll bar and the store read it.
std::optional<int> wholeNumber(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

} // namespace

int autoSaveMinutesOf(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    if (!ok) {
        // Digits too many for a number are still a large number.
        const bool digits = !t.isEmpty()
            && std::all_of(t.begin() + (t.startsWith(u'+') || t.startsWith(u'-') ? 1 : 0), t.end(),
                [](QChar c) { return c.isDigit(); })
            && t.size() > 1;
        return digits ? (t.startsWith(u'-') ? 1 : mostMinutes) : defaultMinutes;
    }
    return int(std::clamp<qlonglong>(n, 1, mostMinutes));
}

frmAuto::frmAuto(frmNotes& notes)
    : QDialog(&notes,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_notes(notes)
{
    setObjectName(QStringLiteral("frmAuto"));
    setWindowTitle(QStringLiteral("Auto Save"));
    setModal(true);

    // Places a control by its twips, as it was designed.
    const Twips t = Twips::forScreenOf(&notes);
    const auto px = [&](double twips, bool vertical) {
        return (vertical ? t.toPixelsY(twips) : t.toPixelsX(twips)).value_or(0);
    };
    const auto place
        = [&](QWidget* w, const char* name, double left, double top, double width, double height) {
              w->setObjectName(QLatin1String(name));
              w->setGeometry(px(left, false), px(top, true), px(width, false), px(height, true));
          };
    setFixedSize(px(3285, false), px(1560, true));

    Frame1 = new QFrame(this);
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);
    place(Frame1, "Frame1", 60, 30, 3165, 1050);
    chkAuto = new QCheckBox(QStringLiteral("Enabled"), Frame1);
    place(chkAuto, "chkAuto", 120, 90, 1500, 270);
    Label1 = new QLabel(QStringLiteral("Auto Save notes every:"), Frame1);
    place(Label1, "Label1", 120, 420, 2925, 240);
    txtAuto = new QLineEdit(QStringLiteral("10"), Frame1);
    txtAuto->setValidator(new TwoCharacters(txtAuto));
    place(txtAuto, "txtAuto", 120, 690, 480, 300);
    VScroll1 = new QScrollBar(Qt::Vertical, Frame1);
    VScroll1->setRange(1, 99);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(1);
    VScroll1->setInvertedAppearance(true); // the upper arrow raises the number
    VScroll1->setInvertedControls(false);
    VScroll1->setFocusPolicy(Qt::StrongFocus);
    place(VScroll1, "VScroll1", 600, 690, 255, 300);
    Label2 = new QLabel(QStringLiteral("minutes."), Frame1);
    place(Label2, "Label2", 960, 720, 1500, 240);
    cmdOkay = new QPushButton(QStringLiteral("Okay"), this);
    place(cmdOkay, "cmdOkay", 540, 1140, 1035, 345);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    place(cmdCancel, "cmdCancel", 1710, 1140, 1035, 345);
    // Neither button is pressed by Enter or Escape.
    for (QPushButton* button : { cmdOkay, cmdCancel }) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    setTabOrder(txtAuto, cmdCancel);
    setTabOrder(cmdCancel, chkAuto);
    setTabOrder(chkAuto, cmdOkay);
    setTabOrder(cmdOkay, VScroll1);

    connect(chkAuto, &QCheckBox::clicked, this, &frmAuto::chkAuto_Click);
    connect(txtAuto, &QLineEdit::textChanged, this, &frmAuto::txtAuto_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &frmAuto::VScroll1_Change);
    connect(cmdOkay, &QPushButton::clicked, this, &frmAuto::cmdOkay_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAuto::cmdCancel_Click);
    txtAuto->installEventFilter(this);

    Form_Load();
}

int frmAuto::checkValue() const
{
    return chkAuto->isChecked() ? 1 : 0;
}

void frmAuto::readStored()
{
    SettingsStore& settings = *m_notes.environment().settings;
    txtAuto->setText(settings.Read(QStringLiteral("AutoSaveText"), "10"));
    const auto check = toInt16(settings.Read(QStringLiteral("AutoSave"), 0));
    chkAuto->setChecked(check && *check == 1);
    settleMinutes();
}

void frmAuto::Form_Load()
{
    readStored();
    applySwitch(true);
    // A number the scroll bar cannot show leaves it, and the box, as they are.
    if (const auto n = wholeNumber(txtAuto->text());
        n && *n >= VScroll1->minimum() && *n <= VScroll1->maximum())
        VScroll1->setValue(*n);
}

int frmAuto::settleMinutes()
{
    const int minutes = autoSaveMinutesOf(txtAuto->text());
    const auto n = wholeNumber(txtAuto->text());
    if (!n || *n != minutes)
        txtAuto->setText(QString::number(minutes));
    return minutes;
}

// Auto-save on: the timer runs (a running one is left to run on), the menu item is checked and
// the minutes can be changed.
void frmAuto::applySwitch(bool loading)
{
    const bool on = chkAuto->isChecked();
    if (on && !m_notes.tmrAuto->isActive())
        m_notes.tmrAuto->start();
    else if (!on)
        m_notes.tmrAuto->stop();
    m_notes.menuItem(QStringLiteral("mnuAutoSave"))->setChecked(on);
    txtAuto->setEnabled(on);
    VScroll1->setEnabled(on);
    if (on && loading)
        m_notes.Module.AutoSaveMinutes = std::uint8_t(autoSaveMinutesOf(txtAuto->text()));
}

void frmAuto::chkAuto_Click()
{
    const bool on = chkAuto->isChecked();
    txtAuto->setEnabled(on);
    VScroll1->setEnabled(on);
    m_notes.menuItem(QStringLiteral("mnuAutoSave"))->setChecked(on);
}

void frmAuto::txtAuto_Change()
{
    const QString text = txtAuto->text();
    if (const auto n = wholeNumber(text); n && *n >= 1 && *n <= 99)
        VScroll1->setValue(*n);
    if (txtAuto->text() == u"0")
        txtAuto->setText(QStringLiteral("1"));
}

void frmAuto::txtAuto_KeyDown(int KeyCode)
{
    if (KeyCode != vbKeyDown && KeyCode != vbKeyUp)
        return;
    const int minutes = autoSaveMinutesOf(txtAuto->text());
    const int next = KeyCode == vbKeyDown ? minutes - 1 : std::min(minutes + 1, mostMinutes);
    txtAuto->setText(QString::number(next));
}

void frmAuto::VScroll1_Change()
{
    txtAuto->setText(QString::number(VScroll1->value()));
    txtAuto->setFocus();
}

void frmAuto::cmdOkay_Click()
{
    const int minutes = settleMinutes();
    SettingsStore& settings = *m_notes.environment().settings;
    settings.Write(QStringLiteral("AutoSave"), QString::number(checkValue()));
    settings.Write(QStringLiteral("AutoSaveText"), txtAuto->text());
    if (chkAuto->isChecked()) {
        m_notes.Module.AutoSaveMinutes = std::uint8_t(minutes);
        m_notes.Module.AutoSaveCount = 1;
        if (!m_notes.tmrAuto->isActive())
            m_notes.tmrAuto->start();
        m_notes.menuItem(QStringLiteral("mnuAutoSave"))->setChecked(true);
    } else {
        m_notes.tmrAuto->stop();
        m_notes.menuItem(QStringLiteral("mnuAutoSave"))->setChecked(false);
    }
    accept();
}

void frmAuto::cmdCancel_Click()
{
    reject();
}

void frmAuto::reject()
{
    readStored();
    applySwitch(false);
    QDialog::reject();
}

bool frmAuto::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        m_notes.ownedDialogActivated(this);
    return QDialog::event(event);
}

void frmAuto::done(int result)
{
    m_notes.ownedDialogClosing(this);
    QDialog::done(result);
}

// Enter and Escape press neither button.
void frmAuto::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool frmAuto::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtAuto && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            txtAuto_KeyDown(key == Qt::Key_Up ? vbKeyUp : vbKeyDown);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace penwick
