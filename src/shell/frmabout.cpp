// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/frmabout.h"

#include "platform/prompter.h"
#include "platform/shell.h"
#include "platform/twips.h"
#include "shell/frmnotes.h"

#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QUrl>

namespace penwick {
namespace {

// Places in twips: of the client area, or of the enclosing frame.
struct Place
{
    int left, top, width, height;
};
constexpr Place clientArea { 0, 0, 4605, 2970 };
constexpr Place iconPlace { 105, 75, 480, 480 };
constexpr Place titlePlace { 840, 45, 2895, 555 };
constexpr Place supportFrame { 30, 600, 4545, 975 };
constexpr Place webCaption { 240, 330, 705, 195 };
constexpr Place webPlace { 1125, 330, 1860, 195 };
constexpr Place emailCaption { 240, 630, 465, 195 };
constexpr Place emailPlace { 1125, 630, 1455, 195 };
constexpr Place versionFrame { 30, 1620, 3465, 855 };
constexpr Place versionPlace { 240, 255, 1380, 195 };
constexpr Place buildPlace { 240, 540, 2115, 195 };
constexpr Place readPlace { 3600, 1725, 915, 345 };
constexpr Place closePlace { 3600, 2115, 915, 345 };
constexpr Place authorsPlace { 705, 2520, 3195, 405 };

QRect pixels(const Twips& t, const Place& p)
{
    return { t.toPixelsX(p.left).value_or(0), t.toPixelsY(p.top).value_or(0),
        t.toPixelsX(p.width).value_or(0), t.toPixelsY(p.height).value_or(0) };
}

QLabel* label(QWidget* parent, const QString& text, const char* name)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

// A label keeps its designed place; on a desktop whose font is larger than the designed one it
// grows rather than cutting its text.
void place(QLabel* label, const QRect& designed)
{
    const QSize hint = label->sizeHint();
    label->setGeometry(QRect(designed.topLeft(),
        QSize(std::max(designed.width(), hint.width()),
            std::max(designed.height(),
                label->wordWrap() ? label->heightForWidth(designed.width()) : hint.height()))));
}

// Labels sized to their text.
void placeSizedToText(QLabel* label, const QRect& designed)
{
    label->move(designed.topLeft());
    label->resize(label->sizeHint());
}

QPixmap drawLinkCursor()
{
    QPixmap image(32, 32);
    image.fill(Qt::transparent);
    QPainterPath hand;
    const auto add = [&hand](QRectF r, qreal radius) {
        QPainterPath part;
        part.addRoundedRect(r, radius, radius);
        hand = hand.united(part);
    };
    add({ 11, 7, 5, 14 }, 2.5); // the pointing finger; its tip is the hot spot
    add({ 15.5, 13, 4.5, 10 }, 2);
    add({ 19.5, 14, 4.5, 9 }, 2);
    add({ 23.5, 16, 4, 8 }, 2);
    add({ 10, 19, 18, 9 }, 3); // the palm
    QPainterPath thumb;
    thumb.moveTo(12, 21);
    thumb.lineTo(7, 16.5);
    thumb.cubicTo(5, 15, 3.5, 17.5, 5, 19);
    thumb.lineTo(11, 26);
    thumb.closeSubpath();
    hand = hand.united(thumb);
    add({ 12, 27, 14, 4 }, 1); // the cuff
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(hand.simplified());
    return image;
}

} // namespace

QCursor linkCursor()
{
    return QCursor(drawLinkCursor(), 13, 9);
}

LinkLabel::LinkLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    QPalette look = palette();
    look.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(look);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(linkCursor());
}

// A click is a press and a release of the left button over the link.
void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit Click();
}

frmAbout::frmAbout(frmNotes& owner, const MakerAddresses& addresses)
    : QDialog(&owner,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_owner(owner)
    , m_addresses(addresses)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Penwick"));
    setWindowIcon(owner.windowIcon());
    const Twips t = Twips::forScreenOf(&owner);
    setFixedSize(pixels(t, clientArea).size());

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(pixels(t, iconPlace));
    picIcon->setPixmap(QIcon(QStringLiteral(":/penwick/penwick.svg")).pixmap(picIcon->size()));

    Label1 = label(this, QStringLiteral("Penwick 4.0"), "Label1");
    QFont title = font();
    title.setPointSize(24);
    Label1->setFont(title);
    placeSizedToText(Label1, pixels(t, titlePlace));

    Frame2 = new QGroupBox(QStringLiteral("Support Information"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(pixels(t, supportFrame));
    Label[3] = label(Frame2, QStringLiteral("Web Site:"), "Label(3)");
    place(Label[3], pixels(t, webCaption));
    lblWeb = new LinkLabel(Frame2);
    lblWeb->setObjectName(QStringLiteral("lblWeb"));
    lblWeb->setText(addresses.web);
    lblWeb->setToolTip(addresses.webTip);
    placeSizedToText(lblWeb, pixels(t, webPlace));
    Label[5] = label(Frame2, QStringLiteral("E-mail:"), "Label(5)");
    place(Label[5], pixels(t, emailCaption));
    lblEmail = new LinkLabel(Frame2);
    lblEmail->setObjectName(QStringLiteral("lblEmail"));
    lblEmail->setText(addresses.email);
    lblEmail->setToolTip(addresses.emailTip);
    placeSizedToText(lblEmail, pixels(t, emailPlace));
    // An address the program was built without leaves out its row; with neither, the frame
    // would only announce what is not there.
    for (auto [caption, link] : { std::pair { Label[3], lblWeb }, { Label[5], lblEmail } }) {
        caption->setVisible(!link->text().isEmpty());
        link->setVisible(!link->text().isEmpty());
    }
    Frame2->setVisible(!addresses.web.isEmpty() || !addresses.email.isEmpty());
    connect(lblWeb, &LinkLabel::Click, this, &frmAbout::lblWeb_Click);
    connect(lblEmail, &LinkLabel::Click, this, &frmAbout::lblEmail_Click);

    Frame1 = new QGroupBox(QStringLiteral("Version Information"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(pixels(t, versionFrame));
    Label[0] = label(Frame1, QStringLiteral("Version:             4.0"), "Label(0)");
    place(Label[0], pixels(t, versionPlace));
    Label[1] = label(Frame1, QStringLiteral("Build Date:        April 28, 2004"), "Label(1)");
    place(Label[1], pixels(t, buildPlace));

    cmdRead = new QPushButton(QStringLiteral("&Readme"), this);
    cmdRead->setObjectName(QStringLiteral("cmdRead"));
    cmdRead->setGeometry(pixels(t, readPlace));
    connect(cmdRead, &QPushButton::clicked, this, &frmAbout::cmdRead_Click);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(pixels(t, closePlace));
    connect(cmdClose, &QPushButton::clicked, this, &frmAbout::cmdClose_Click);
    // No default button: Enter presses whichever button has the focus, Close at first.
    cmdClose->setFocus();

    Label[2] = label(this, QStringLiteral("Written by the Penwick authors"), "Label(2)");
    Label[2]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label[2]->setWordWrap(true);
    place(Label[2], pixels(t, authorsPlace));
}

void frmAbout::cmdClose_Click()
{
    close();
}

void frmAbout::cmdRead_Click()
{
    const Environment& env = m_owner.environment();
    openReadme(*env.shell, *env.prompter, this, m_owner.Module.AppFolder, env.docFolder);
}

void frmAbout::lblWeb_Click()
{
    const Environment& env = m_owner.environment();
    openAddress(*env.shell, *env.prompter, this, QUrl::fromUserInput(m_addresses.web));
}

void frmAbout::lblEmail_Click()
{
    const Environment& env = m_owner.environment();
    openAddress(
        *env.shell, *env.prompter, this, QUrl(QStringLiteral("mailto:") + m_addresses.email));
}

void frmAbout::Form_Activate()
{
    m_owner.ownedDialogActivated(this);
}

void frmAbout::Form_QueryUnload()
{
    m_owner.ownedDialogClosing(this);
}

bool frmAbout::event(QEvent* event)
{
    const bool result = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return result;
}

void frmAbout::showEvent(QShowEvent* event)
{
    placeOverOwner();
    QDialog::showEvent(event);
}

void frmAbout::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    QDialog::closeEvent(event);
}

// Without a cancel button, Escape does nothing.
void frmAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Centred on the main window, frame and all; a window is moved by its frame, which is taken to
// be the main window's.
void frmAbout::placeOverOwner()
{
    const QRect inner = m_owner.geometry();
    const QRect outer = m_owner.frameGeometry();
    const QSize box
        = size() + QSize(outer.width() - inner.width(), outer.height() - inner.height());
    move(outer.center() - QPoint((box.width() - 1) / 2, (box.height() - 1) / 2));
}

bool openReadme(Shell& shell, Prompter& prompter, QWidget* owner, const QString& appFolder,
    const QString& docFolder)
{
    const QString name = QStringLiteral("Readme.txt");
    QStringList folders { appFolder };
    if (!docFolder.isEmpty())
        folders << (docFolder.endsWith(u'/') ? docFolder : docFolder + u'/');
    for (const QString& folder : folders) {
        const QFileInfo file(folder + name);
        if (!file.isFile())
            continue;
        // A file address reaches the viewer whole, spaces and all; no command line is built.
        if (shell.openUrl(QUrl::fromLocalFile(file.absoluteFilePath())))
            return true;
        prompter.MsgBox(owner,
            QStringLiteral("Could not open %1.\nThe desktop has no program that shows text files.")
                .arg(file.absoluteFilePath()),
            MsgIcon::Warning);
        return false;
    }
    prompter.MsgBox(owner,
        QStringLiteral("%1 was not found. It was looked for in:\n%2")
            .arg(name, folders.join(u'\n')),
        MsgIcon::Warning);
    return false;
}

bool openAddress(Shell& shell, Prompter& prompter, QWidget* owner, const QUrl& address)
{
    if (shell.openUrl(address))
        return true;
    prompter.MsgBox(owner,
        QStringLiteral("Could not open %1.\nThe desktop has no program that opens it.")
            .arg(address.toString()),
        MsgIcon::Warning);
    return false;
}

// --- the Help menu's commands ---------------------------------------------------------------

void frmNotes::mnuAbout_Click()
{
    frmAbout box(*this);
    showOwnedDialog(box);
}

void frmNotes::mnuHelpC_Click()
{
    openReadme(*m_env.shell, *m_env.prompter, this, Module.AppFolder, m_env.docFolder);
}

} // namespace penwick
