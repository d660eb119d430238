// SPDX-License-Identifier: GPL-2.0-or-later
// Build-time helper: renders an SVG icon to square PNGs for the desktop's icon theme.
//   penwick-render-icon SVG OUTDIR SIZE...   writes OUTDIR/SIZExSIZE.png for each size
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    // Painting on an image needs no application object, and so no display, in a build.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.size() < 4) {
        std::fputs("usage: penwick-render-icon SVG OUTDIR SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer svg(args.at(1));
    if (!svg.isValid()) {
        std::fprintf(stderr, "penwick-render-icon: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QDir out(args.at(2));
    for (const QString& arg : args.mid(3)) {
        bool ok = false;
        const int size = arg.toInt(&ok);
        if (!ok || size <= 0 || size > 4096) {
            std::fprintf(stderr, "penwick-render-icon: bad size %s\n", qPrintable(arg));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString path = out.filePath(QStringLiteral("%1x%1.png").arg(size));
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "penwick-render-icon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
