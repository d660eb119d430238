// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QMimeData>
#include <QPointer>
#include <memory>

class QTextDocument;

namespace penwick {

// The characters [from, to) as plain text: paragraph and line separators read as "\n".
QString plainText(const QTextDocument& document, int from, int to);

// A selection offered to other programs: on the clipboard and, under X11, as the primary
// selection, which the editor offers again on every change of the selection. Nothing is made
// until a program asks for a format; until then the data only knows where the selection lies.
// Before the document changes or goes, freeze() keeps the selection's rich text, and every
// format is made from that from then on, so pasting gives what was copied.
class SelectionMimeData : public QMimeData
{
    Q_OBJECT
public:
    SelectionMimeData(const QTextDocument& document, int from, int to);
    ~SelectionMimeData() override;

    void freeze();
    bool isFrozen() const { return m_frozen; }

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    // The document the formats are made from, or null when the selection is lost.
    const QTextDocument* source() const;

    QPointer<const QTextDocument> m_document;
    int m_from;
    int m_to;
    // Set when the document changed before the data was frozen: what was selected is gone, and
    // nothing is offered rather than other text.
    bool m_lost = false;
    bool m_frozen = false;
    QByteArray m_rtf;
    // The frozen rich text read back, made on the first request for HTML or text.
    mutable std::unique_ptr<QTextDocument> m_thawed;
    QMetaObject::Connection m_watch;
};

} // namespace penwick
