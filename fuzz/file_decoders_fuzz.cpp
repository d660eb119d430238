// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target: the decoders of files inserted into the note (plain text in any encoding,
// pictures of every kind, metafiles included) must refuse or accept any input without crashing,
// hanging or allocating without bound.
#include "commands/filecommands.h"

#include <QTextCursor>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace penwick;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto text = filecommands::decodeTextFile(bytes, nullptr)) {
        // Accepted text never holds a NUL.
        if (text->contains(QChar::Null))
            __builtin_trap();
    }
    // A picture that is accepted goes into a document as the insert command puts it there.
    if (const auto picture = filecommands::decodePictureFile(bytes, nullptr)) {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        insertPicture(cursor, *picture);
    }
    return 0;
}
