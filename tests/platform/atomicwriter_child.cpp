// SPDX-License-Identifier: GPL-2.0-or-later
// Saves two alternating contents to one file for ever, writing one byte to stdout before each
// save, so that a test can kill it in the middle of a save.
#include "platform/atomicfile.h"

#include <QByteArray>
#include <QString>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QByteArray a(2 * 1024 * 1024, 'A');
    const QByteArray b(3 * 1024 * 1024, 'B');
    for (unsigned n = 0;; ++n) {
        const char tick = '.';
        if (::write(1, &tick, 1) != 1)
            return 1;
        if (!penwick::writeFileAtomically(path, (n % 2) ? b : a))
            return 1;
    }
}
