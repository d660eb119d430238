// SPDX-License-Identifier: GPL-2.0-or-later
#include "rtftestutil.h"

namespace penwick::test {
namespace {

const QColor fill(0x2A, 0x7F, 0xB8);
const QColor ink(0xC0, 0x39, 0x2B);

// Every kind loads with its size, keeps its bytes where RTF has a blip for them (a bitmap file
// without its file header) and draws: each fixture is filled with the same blue at its top left.
TEST(Pictures, EveryKindLoadsKeepsItsBytesAndDraws)
{
    const std::tuple<const char*, PictureKind, QSize, const char*> cases[]
        = { { "picture.png", PictureKind::Png, { 40, 30 }, "picture.png" },
              { "picture.jpg", PictureKind::Jpeg, { 40, 30 }, "picture.jpg" },
              { "picture.bmp", PictureKind::Dib, { 40, 30 }, "picture.dib" },
              { "picture.dib", PictureKind::Dib, { 40, 30 }, "picture.dib" },
              { "picture.gif", PictureKind::Png, { 20, 10 }, nullptr },
              { "picture.wmf", PictureKind::Wmf, { 200, 100 }, nullptr },
              { "picture.emf", PictureKind::Emf, { 200, 100 }, "picture.emf" } };
    for (const auto& [file, kind, size, keptAs] : cases) {
        SCOPED_TRACE(file);
        const auto p = loadPictureFile(fixturePath(file));
        ASSERT_TRUE(p.has_value());
        EXPECT_EQ(std::pair(p->kind, p->displaySize), std::pair(kind, size));
        EXPECT_TRUE(!keptAs || p->bytes == fixture(keptAs)) << "never recompressed";
        const QImage image = renderPicture(*p);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.pixelColor(2, 2).rgb(), fill.rgb());
        if (kind != PictureKind::Wmf && kind != PictureKind::Emf)
            continue;
        // The rectangle covers the left 60 %; the text is drawn right of it in its own colour.
        EXPECT_EQ(image.pixelColor(100, 50).rgb(), fill.rgb());
        EXPECT_EQ(image.pixelColor(190, 10).alpha(), 0) << "outside the drawing stays clear";
        int inked = 0;
        for (int y = 10; y < 95; ++y)
            for (int x = 125; x < 200; ++x)
                inked += image.pixelColor(x, y).rgb() == ink.rgb();
        EXPECT_GT(inked, 20) << "the text is drawn, in its exact colour";
    }
}

// 1.1 million rows of 40 pixels, with pixels for 30.
QByteArray tallDib()
{
    return fixture("picture.dib").replace(8, 3, QByteArray::fromHex("00e010"));
}

// Not pictures, or pictures whose headers promise more than the data holds.
TEST(Pictures, NotPictures)
{
    EXPECT_FALSE(loadPictureFile(fixturePath("missing.png"))
        || loadPictureFile(fixturePath("word.rtf"))
        || pictureFromFileData(fixture("bomb.png"))); // the last an image bomb
    QByteArray png = fixture("picture.png");
    png.insert(png.size() - 12, QByteArray::fromHex("7ffffff074455874")); // chunk past the end
    const QByteArray huge = fixture("picture.dib") // width, bits and height pass 64 bits
                                .replace(4, 8, QByteArray::fromHex("ffffff7fffffff7f"))
                                .replace(14, 2, QByteArray::fromHex("ffff"));
    for (const auto& [kind, data] : { std::pair { PictureKind::Png, QByteArray("garbage") },
             { PictureKind::Wmf, QByteArray("garbage") }, { PictureKind::Emf, QByteArray(200, 0) },
             { PictureKind::Png, png }, { PictureKind::Dib, tallDib() },
             { PictureKind::Dib, huge } })
        EXPECT_FALSE(pictureFromRtf(kind, data, QSize(600, 450)).has_value());
}

TEST(Pictures, LyingWmfHeaderIsMended)
{
    // Maximum record size and file size far beyond the data.
    QByteArray wmf = fixture("picture.wmf").replace(22 + 12, 3, "\xFF\xFF\xFF");
    wmf[22 + 6] = '\xFF';
    const auto p = pictureFromFileData(wmf);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(renderPicture(*p).pixelColor(30, 50).rgb(), fill.rgb());
    // Cut off in the middle of a record: the records before it still draw.
    EXPECT_TRUE(pictureFromFileData(fixture("picture.wmf").left(22 + 18 + 40)).has_value());
}

// ---- Pictures in rich text ----

TEST(RtfPictures, EveryKindReadsAndWritesBackWithItsBytes)
{
    const auto doc = readDoc(fixture("pictures.rtf"));
    EXPECT_EQ(plain(*doc),
        QStringLiteral("PNG #\nJPEG #\nDIB #\nWMF #\nEMF #\nBIN #\nend")
            .replace(u'#', QChar(0xFFFC)));
    const auto describe = [](const std::vector<Picture>& pictures) {
        std::vector<std::tuple<PictureKind, QSize, QByteArray>> out;
        for (const Picture& p : pictures)
            out.emplace_back(p.kind, p.displaySize, p.bytes);
        return out;
    };
    // As loaded from their files (the \\nonshppict twin is not shown); the last is the PNG
    // again, from \\bin data, shown at its own size.
    std::vector<Picture> files;
    for (const char* name : { "picture.png", "picture.jpg", "picture.dib", "picture.wmf",
             "picture.emf", "picture.png" })
        files.push_back(*loadPictureFile(fixturePath(name)));
    files.back().displaySize = QSize(20, 15);
    EXPECT_EQ(describe(picturesOf(*doc)), describe(files));
    const QByteArray rtf = rtf::writeRtf(*doc);
    EXPECT_TRUE(rtf.contains("{\\pict\\pngblip\\picw40\\pich30\\picwgoal600\\pichgoal450"));
    EXPECT_EQ(describe(picturesOf(*readDoc(rtf))), describe(files));
}

TEST(RtfPictures, ScaleAndOddHex)
{
    // The first byte as an escape, the rest in upper-case digits with a line break among them.
    QByteArray hex = "\\'89" + fixture("picture.png").mid(1).toHex().toUpper();
    hex.insert(20, "\r\n");
    const auto doc = readDoc("{\\rtf1 {\\pict\\pngblip\\picwgoal1500\\pichgoal1500\\picscalex200"
                             "\\picscaley50 "
        + hex + " 1}}");
    const auto pics = picturesOf(*doc);
    ASSERT_EQ(pics.size(), 1u);
    EXPECT_EQ(pics[0].displaySize, QSize(200, 50));
    EXPECT_EQ(pics[0].bytes, fixture("picture.png")) << "an odd last digit is dropped";
}

TEST(RtfPictures, BadPictureDropsOnlyItself)
{
    const auto doc = readDoc("{\\rtf1 a{\\pict\\pngblip 0102030405}b{\\pict\\wbitmap0 00}c"
                             "{\\pict\\pngblip "
        + fixture("bomb.png").toHex() + "}d{\\pict\\dibitmap0\\picwgoal600\\pichgoal450 "
        + tallDib().toHex() + "}e{\\pict\\pngblip "
        + (fixture("picture.png").left(33) + QByteArray(80, '\xFF')).toHex() + "}f}");
    EXPECT_EQ(plain(*doc), "abcdef");
    // A picture opening a table cell follows the cell's tab.
    const auto cell = readDoc("{\\rtf1\\trowd\\cellx100\\cellx200\\intbl A\\cell{\\pict\\pngblip "
        + fixture("picture.png").toHex() + "}\\cell\\row}");
    EXPECT_EQ(plain(*cell), QStringLiteral("A\t\uFFFC"));
}

} // namespace
} // namespace penwick::test
