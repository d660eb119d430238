// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/frmnotes.h"

#include "platform/richtextbox.h"
#include "platform/singleinstance.h"
#include "platform/terminationsignals.h"
#include "platform/twips.h"
#include "shell/frmmenu.h"
#include "shell/menubarkeys.h"
#include "shell/menutable.h"
#include "shell/toolbar.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QWindow>

namespace penwick {
namespace {

// Designed outer size and place of the window, in twips (a client area of about 6825 by 4920
// below the menu bar, depending on the window manager's frame).
constexpr double designWidth = 6945;
constexpr double designHeight = 5610;
constexpr double designLeft = 1050;
constexpr double designTop = 1785;
constexpr double designToolbarHeight = 420;

} // namespace

frmNotes::frmNotes(Environment environment, QWidget* parent)
    : QMainWindow(parent)
    , m_env(std::move(environment))
    , m_instance(std::make_unique<SingleInstance>())
{
    setObjectName(QStringLiteral("frmNotes"));
    setWindowTitle(QStringLiteral("Penwick 4.0"));
    setWindowIcon(QIcon::fromTheme(
        QStringLiteral("penwick"), QIcon(QStringLiteral(":/penwick/penwick.svg"))));

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    imlToolbarIcons = std::make_unique<ImageList>();
    Toolbar = new ToolbarControl(toolbarRows(), *imlToolbarIcons, m_client);
    Toolbar->setObjectName(QStringLiteral("Toolbar"));
    connect(Toolbar, &ToolbarControl::ButtonClick, this, &frmNotes::Toolbar_ButtonClick);

    rtfNotes = new RichTextBox(m_client);
    rtfNotes->setObjectName(QStringLiteral("rtfNotes"));
    rtfNotes2 = new RichTextBox(this);
    rtfNotes2->setObjectName(QStringLiteral("rtfNotes2"));
    rtfNotes2->hide();

    buildMenus();
    menuForm = new frmMenu(*this);
    connectEditorEvents();

    // Armed from creation: its one tick comes at the first opportunity after start-up.
    tmrOnTop = new QTimer(this);
    tmrOnTop->setObjectName(QStringLiteral("tmrOnTop"));
    tmrOnTop->setInterval(1);
    connect(tmrOnTop, &QTimer::timeout, this, &frmNotes::tmrOnTop_Timer);
    tmrOnTop->start();

    // Switched on by the auto-save dialog's loading.
    tmrAuto = new QTimer(this);
    tmrAuto->setObjectName(QStringLiteral("tmrAuto"));
    tmrAuto->setInterval(60000);
    connect(tmrAuto, &QTimer::timeout, this, &frmNotes::tmrAuto_Timer);

    m_saver = new NoteSaver(*rtfNotes, this);
    connect(m_saver, &NoteSaver::saved, this, &frmNotes::noteSaved);

    setWindowWidth(designWidth);
    setWindowHeight(designHeight);
    setWindowLeft(designLeft);
    setWindowTop(designTop);
}

frmNotes::~frmNotes() = default;

void frmNotes::buildMenus()
{
    const auto rows = mainMenuRows();
    // The menu that holds the items of each nesting level while walking the table.
    QMenu* parents[4] = {};
    for (size_t i = 0; i < rows.size(); ++i) {
        const MenuRow& row = rows[i];
        const QString name = QString::fromLatin1(row.name);
        const QString caption = QString::fromUtf8(row.caption);
        const bool hasChildren = i + 1 < rows.size() && rows[i + 1].level > row.level;
        QAction* action = nullptr;
        if (row.level == 0 || hasChildren) {
            QMenu* menu = row.level == 0 ? menuBar()->addMenu(caption)
                                         : parents[row.level - 1]->addMenu(caption);
            menu->setObjectName(name);
            parents[row.level] = menu;
            m_menus.insert(name, menu);
            action = menu->menuAction();
            if (row.handler)
                connect(menu, &QMenu::aboutToShow, this, row.handler);
        } else if (caption == u"-") {
            action = parents[row.level - 1]->addSeparator();
        } else {
            action = parents[row.level - 1]->addAction(caption);
            if (row.shortcut != QKeyCombination())
                action->setShortcut(QKeySequence(row.shortcut));
            // Check marks are options: only their handlers change them.
            action->setCheckable(row.check != MenuCheck::None);
            action->setChecked(row.check == MenuCheck::Checked);
            if (row.handler) {
                const auto handler = row.handler;
                connect(action, &QAction::triggered, this, [this, action, handler] {
                    if (action->isCheckable())
                        action->setChecked(!action->isChecked()); // undo the toolkit's own toggle
                    (this->*handler)();
                });
            }
        }
        action->setObjectName(name);
        m_items.insert(name, action);
    }
    new SharedAccessKeys(menuBar());
}

QAction* frmNotes::menuItem(const QString& name) const
{
    return m_items.value(name);
}

QMenu* frmNotes::menuOf(const QString& name) const
{
    return m_menus.value(name);
}

// --- geometry in twips --------------------------------------------------------------------

QMargins frmNotes::frameMargins() const
{
    if (const QWindow* w = windowHandle(); w && isVisible()) {
        const QMargins m = w->frameMargins();
        if (!m.isNull())
            return m;
    }
    return m_frame;
}

QSize frmNotes::outerToClient(QSize outer) const
{
    const QMargins m = frameMargins();
    return { outer.width() - m.left() - m.right(), outer.height() - m.top() - m.bottom() };
}

double frmNotes::windowLeft() const
{
    return Twips::forScreenOf(this).toTwipsX(pos().x());
}
double frmNotes::windowTop() const
{
    return Twips::forScreenOf(this).toTwipsY(pos().y());
}

double frmNotes::windowWidth() const
{
    const QMargins m = frameMargins();
    const int px
        = m_pendingOuterSize ? m_pendingOuterSize->width() : width() + m.left() + m.right();
    return Twips::forScreenOf(this).toTwipsX(px);
}

double frmNotes::windowHeight() const
{
    const QMargins m = frameMargins();
    const int px
        = m_pendingOuterSize ? m_pendingOuterSize->height() : height() + m.top() + m.bottom();
    return Twips::forScreenOf(this).toTwipsY(px);
}

bool frmNotes::setWindowLeft(double twips)
{
    const auto px = Twips::forScreenOf(this).toPixelsX(twips);
    if (!px || windowStateValue() != vbNormal)
        return false;
    move(*px, pos().y());
    return true;
}

bool frmNotes::setWindowTop(double twips)
{
    const auto px = Twips::forScreenOf(this).toPixelsY(twips);
    if (!px || windowStateValue() != vbNormal)
        return false;
    move(pos().x(), *px);
    return true;
}

bool frmNotes::setWindowWidth(double twips)
{
    const auto px = Twips::forScreenOf(this).toPixelsX(twips);
    if (!px || *px <= 0 || windowStateValue() != vbNormal)
        return false;
    const QMargins m = frameMargins();
    applyOuterSize({ *px,
        m_pendingOuterSize ? m_pendingOuterSize->height() : height() + m.top() + m.bottom() });
    return true;
}

bool frmNotes::setWindowHeight(double twips)
{
    const auto px = Twips::forScreenOf(this).toPixelsY(twips);
    if (!px || *px <= 0 || windowStateValue() != vbNormal)
        return false;
    const QMargins m = frameMargins();
    applyOuterSize(
        { m_pendingOuterSize ? m_pendingOuterSize->width() : width() + m.left() + m.right(), *px });
    return true;
}

// Sizes the window so that its outer measure is `outer`. Until the window manager has told us
// its frame, the outer size is kept and applied again once the frame is known.
void frmNotes::applyOuterSize(QSize outer)
{
    const QSize client = outerToClient(outer);
    m_requestedClient = QSize(std::max(1, client.width()), std::max(1, client.height()));
    resize(m_requestedClient);
    if (frameMargins().isNull())
        m_pendingOuterSize = outer;
    else
        m_pendingOuterSize.reset();
}

std::int16_t frmNotes::windowStateValue() const
{
    const Qt::WindowStates s = windowState();
    if (s & Qt::WindowMinimized)
        return vbMinimized;
    if (s & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return vbMaximized;
    return vbNormal;
}

double frmNotes::scaleWidth() const
{
    return Twips::forScreenOf(this).toTwipsX(m_client->width());
}
double frmNotes::scaleHeight() const
{
    return Twips::forScreenOf(this).toTwipsY(m_client->height());
}

// Remembers the frame and the normal geometry whenever the window is seen in its normal state,
// and applies a stored outer size once the window manager has told us its frame.
void frmNotes::noteFrameGeometry()
{
    if (!isVisible())
        return;
    if (const QWindow* w = windowHandle()) {
        const QMargins m = w->frameMargins();
        if (!m.isNull())
            m_frame = m;
    }
    if (m_pendingOuterSize && windowStateValue() == vbNormal) {
        if (size() != m_requestedClient) {
            m_pendingOuterSize.reset(); // resized since by someone else: the outer size is real
        } else if (!m_frame.isNull()) {
            const QSize outer = *m_pendingOuterSize;
            applyOuterSize(outer);
        }
    }
    // A maximized window has another frame (often none at the sides): only the normal state's
    // own frame measures the normal window.
    if (windowStateValue() == vbNormal && !m_pendingOuterSize && !m_frame.isNull())
        m_normalOuter = geometry().marginsAdded(m_frame);
}

bool frmNotes::event(QEvent* event)
{
    const bool result = QMainWindow::event(event);
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowActivate:
    case QEvent::UpdateRequest:
        noteFrameGeometry();
        break;
    default:
        break;
    }
    return result;
}

void frmNotes::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

bool frmNotes::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::Resize) {
        dockToolbar();
        Form_Resize();
    }
    return QMainWindow::eventFilter(watched, event);
}

// The toolbar is docked along the top of the client area across its full width.
void frmNotes::dockToolbar()
{
    const int designBand = Twips::forScreenOf(this).toPixelsY(designToolbarHeight).value_or(28);
    const int w = m_client->width();
    const int h = Toolbar->hasHeightForWidth() ? Toolbar->heightForWidth(w)
                                               : std::max(Toolbar->sizeHint().height(), designBand);
    Toolbar->setGeometry(0, 0, w, h);
}

void frmNotes::closeEvent(QCloseEvent* event)
{
    // The main window never refuses to close: closing always saves and ends the program.
    if (!m_shutDown) {
        Form_QueryUnload();
        Form_Unload();
    }
    event->accept();
}

} // namespace penwick
