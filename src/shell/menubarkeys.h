// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>

class QMenuBar;

namespace penwick {

// Access keys shared by several menus of a bar ("&File", "&Format"): with no menu open, Alt and
// the letter (or the letter alone on the bar) opens the first of them; each further press of the
// letter while one of them is open moves on to the next. Left alone, the toolkit takes turns on
// successive presses instead, so that the same keys open another menu every other time.
class SharedAccessKeys final : public QObject
{
public:
    explicit SharedAccessKeys(QMenuBar* bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenuBar* m_bar;
};

} // namespace penwick
