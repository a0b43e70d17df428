#include "RunJournalVersion1.h"

#include <QCoreApplication>
#include <QCryptographicHash>

const QByteArray JournalVersion1Header = "NMaker run journal 1";

namespace
{

QByteArray decoded(const QByteArray& field)
{
    return field == "-" ? QByteArray() : QByteArray::fromPercentEncoding(field);
}

QByteArray checksum(const QByteArray& bytes, qsizetype length)
{
    return QCryptographicHash::hash(QByteArrayView(bytes.constData(), length),
                                    QCryptographicHash::Sha256)
        .toHex();
}

class Reader
{
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}

    bool next(QList<QByteArray>& fields)
    {
        if (m_at >= m_bytes.size())
            return false;
        const qsizetype end = m_bytes.indexOf('\n', m_at);
        if (end < 0)
            return false;
        fields = QByteArrayView(m_bytes.constData() + m_at, end - m_at).toByteArray().split(' ');
        m_lineStart = m_at;
        m_at = end + 1;
        return true;
    }
    qsizetype lineStart() const { return m_lineStart; }
    bool atEnd() const { return m_at == m_bytes.size(); }

private:
    const QByteArray& m_bytes;
    qsizetype m_at = 0;
    qsizetype m_lineStart = 0;
};

bool number(const QByteArray& field, quint64& out)
{
    bool ok = false;
    out = field.toULongLong(&ok);
    return ok && !field.startsWith('+') && !field.startsWith('-');
}

bool number(const QByteArray& field, qint64& out)
{
    bool ok = false;
    out = field.toLongLong(&ok);
    return ok && !field.startsWith('+');
}

} // namespace

bool parseJournalVersion1(const QByteArray& bytes, JournalVersion1& out, QString* why)
{
    const QString broken = QCoreApplication::translate(
        "RunJournal", "壊れています (途中で切れているか、書き換えられています)");
    auto fail = [why](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    Reader reader(bytes);
    QList<QByteArray> f;
    if (!reader.next(f) || f.join(' ') != JournalVersion1Header)
        return fail(QCoreApplication::translate("RunJournal", "NMaker の実行の記録ではありません"));
    quint64 next = 0, creationNumber = 0, deletionNumber = 0, count = 0;
    if (!reader.next(f) || f.size() != 2 || f[0] != "next" || !number(f[1], next))
        return fail(broken);
    if (!reader.next(f) || f.size() != 3 || f[0] != "creation" || !number(f[1], creationNumber) ||
        !number(f[2], count))
        return fail(broken);
    QList<MadeFolder> made;
    made.reserve(qsizetype(qMin<quint64>(count, 1u << 20)));
    for (quint64 i = 0; i < count; ++i) {
        MadeFolder m;
        if (!reader.next(f) || f.size() != 5 || f[0] != "c" || !number(f[1], m.id.volume) ||
            !number(f[2], m.id.node) || !number(f[3], m.id.birth))
            return fail(broken);
        m.path = QString::fromUtf8(decoded(f[4]));
        if (m.path.isEmpty())
            return fail(broken);
        made.append(m);
    }
    if (!reader.next(f) || f.size() != 3 || f[0] != "deletion" || !number(f[1], deletionNumber) ||
        !number(f[2], count))
        return fail(broken);
    QList<TrashPlace> places;
    places.reserve(qsizetype(qMin<quint64>(count, 1u << 20)));
    QList<std::pair<QByteArray, QByteArray>> trashes;
    while (quint64(places.size()) < count) {
        if (!reader.next(f))
            return fail(broken);
        if (f.size() == 3 && f[0] == "t") {
            trashes.append({decoded(f[1]), decoded(f[2])});
            continue;
        }
        TrashPlace p;
        quint64 t = 0;
        if (f.size() != 12 || f[0] != "d" || !number(f[1], t) || t >= quint64(trashes.size()) ||
            !number(f[4], p.infoStamp.volume) || !number(f[5], p.infoStamp.node) ||
            !number(f[6], p.infoStamp.size) || !number(f[7], p.infoStamp.modified) ||
            !number(f[8], p.entryId.volume) || !number(f[9], p.entryId.node) ||
            !number(f[10], p.entryId.birth))
            return fail(broken);
        p.trashDir = trashes.at(qsizetype(t)).first;
        p.topdir = trashes.at(qsizetype(t)).second;
        p.entry = decoded(f[2]);
        p.info = decoded(f[3]);
        p.original = decoded(f[11]);
        places.append(p);
    }
    // The last line vouches for every byte before it.
    if (!reader.next(f) || f.size() != 2 || f[0] != "end" || !reader.atEnd() ||
        f[1] != checksum(bytes, reader.lineStart()))
        return fail(broken);
    if (creationNumber >= next || deletionNumber >= next)
        return fail(broken);
    out.made = std::move(made);
    out.trashed = std::move(places);
    out.next = next;
    out.creationNumber = creationNumber;
    out.deletionNumber = deletionNumber;
    return true;
}
