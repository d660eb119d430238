// SPDX-License-Identifier: GPL-2.0-or-later
// Command-line access to the note format, through the same codec as the editor:
//   penwick-rtf text FILE     the plain text, UTF-8
//   penwick-rtf json FILE     paragraphs and runs as one JSON object
//   penwick-rtf rtf IN OUT    IN read and written again as the note file is written
#include "platform/pictures.h"
#include "platform/rtf/rtf.h"

#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>

#include <cmath>
#include <cstdio>
#include <optional>

namespace {

int refuse(const QString& message)
{
    std::fprintf(stderr, "penwick-rtf: %s\n", qPrintable(message));
    return 1;
}

std::optional<QString> load(const QString& path, QTextDocument& doc)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    if (!penwick::rtf::readRtf(doc, bytes))
        return QStringLiteral("%1 is not a rich-text file").arg(path);
    return std::nullopt;
}

void put(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

QString plainText(const QTextDocument& doc)
{
    QString text = doc.toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

QByteArray jsonString(QStringView s)
{
    QString out;
    out.reserve(s.size() + 2);
    out += u'"';
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        switch (u) {
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
        case 0x2028:
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        default:
            if (u < 0x20)
                out += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
            else
                out += c; // UTF-8 below joins surrogate pairs
        }
    }
    out += u'"';
    return out.toUtf8();
}

QByteArray jsonNumber(double v)
{
    if (v == std::floor(v) && std::abs(v) < 1e9)
        return QByteArray::number(qint64(v)) + ".0";
    return QByteArray::number(v, 'g', 6);
}

const char* alignName(Qt::Alignment a)
{
    switch (a & Qt::AlignHorizontal_Mask) {
    case Qt::AlignHCenter:
        return "center";
    case Qt::AlignRight:
        return "right";
    case Qt::AlignJustify:
        return "justify";
    default:
        return "left";
    }
}

// "#rrggbb", or null when the run has no colour of its own.
QByteArray colorValue(const QTextCharFormat& f, QTextFormat::Property brush)
{
    if (!f.hasProperty(brush) || f.brushProperty(brush).style() == Qt::NoBrush)
        return "null";
    return '"' + f.brushProperty(brush).color().name().toLatin1() + '"';
}

bool isBullet(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    if (!list)
        return false;
    const auto style = list->format().style();
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare;
}

QByteArray json(const QTextDocument& doc)
{
    const QString defaultFamily = doc.defaultFont().family();
    const double defaultSize
        = doc.defaultFont().pointSizeF() > 0 ? doc.defaultFont().pointSizeF() : 12;
    QByteArray out = "{\"paragraphs\": [";
    bool firstBlock = true;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        out += firstBlock ? "\n  " : ",\n  ";
        firstBlock = false;
        out += "{\"align\": \"";
        out += alignName(b.blockFormat().alignment());
        out += "\", \"bullet\": ";
        out += isBullet(b) ? "true" : "false";
        out += ", \"runs\": [";
        bool firstRun = true;
        const auto separator = [&] {
            out += firstRun ? "\n    " : ",\n    ";
            firstRun = false;
        };
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat f = frag.charFormat();
            if (f.isImageFormat()) {
                const auto pic = penwick::pictureFromFormat(f, doc);
                for (int i = 0; i < frag.length(); ++i) {
                    separator();
                    const QTextImageFormat image = f.toImageFormat();
                    const int w = image.width() > 0 ? int(std::lround(image.width()))
                                                    : (pic ? pic->displaySize.width() : 0);
                    const int h = image.height() > 0 ? int(std::lround(image.height()))
                                                     : (pic ? pic->displaySize.height() : 0);
                    out += "{\"picture\": {\"format\": \"";
                    out += pic ? penwick::pictureKindName(pic->kind).toUtf8() : QByteArray("png");
                    out += "\", \"width_px\": " + QByteArray::number(w)
                        + ", \"height_px\": " + QByteArray::number(h) + "}}";
                }
                continue;
            }
            separator();
            const QStringList families = f.fontFamilies().toStringList();
            const QString family = families.isEmpty() || families.first().isEmpty()
                ? defaultFamily
                : families.first();
            const double size = f.fontPointSize() > 0 ? f.fontPointSize() : defaultSize;
            out += "{\"text\": " + jsonString(frag.text());
            out += ", \"bold\": ";
            out += f.fontWeight() >= QFont::DemiBold ? "true" : "false";
            out += ", \"italic\": ";
            out += f.fontItalic() ? "true" : "false";
            out += ", \"underline\": ";
            out += f.fontUnderline() ? "true" : "false";
            out += ", \"strike\": ";
            out += f.fontStrikeOut() ? "true" : "false";
            out += ", \"font\": " + jsonString(family);
            out += ", \"size\": " + jsonNumber(size);
            out += ", \"color\": " + colorValue(f, QTextFormat::ForegroundBrush);
            out += ", \"highlight\": " + colorValue(f, QTextFormat::BackgroundBrush);
            out += ", \"valign\": ";
            out += f.verticalAlignment() == QTextCharFormat::AlignSuperScript ? "\"super\""
                : f.verticalAlignment() == QTextCharFormat::AlignSubScript    ? "\"sub\""
                                                                              : "null";
            out += '}';
        }
        out += firstRun ? "]}" : "\n  ]}";
    }
    out += "\n]}\n";
    return out;
}

// Qt's own warnings (no runtime folder, missing fonts) are not the tool's output.
void quiet(QtMsgType, const QMessageLogContext&, const QString&)
{ }

int usage()
{
    std::fputs("usage: penwick-rtf text FILE | json FILE | rtf IN OUT\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return usage();
    const QString mode = args.at(1);
    const bool convert = mode == QLatin1String("rtf");
    if ((convert && args.size() != 4) || (!convert && args.size() != 3))
        return usage();
    if (!convert && mode != QLatin1String("text") && mode != QLatin1String("json"))
        return usage();

    QTextDocument doc;
    if (const auto error = load(args.at(2), doc))
        return refuse(*error);
    if (mode == QLatin1String("text")) {
        put(plainText(doc).toUtf8() + '\n');
    } else if (mode == QLatin1String("json")) {
        put(json(doc));
    } else {
        QSaveFile out(args.at(3));
        if (!out.open(QIODevice::WriteOnly) || out.write(penwick::rtf::writeRtf(doc)) < 0
            || !out.commit())
            return refuse(QStringLiteral("cannot write %1: %2").arg(args.at(3), out.errorString()));
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
