#include "RunJournal.h"

#include "text/TextFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

const QByteArray Header = "NMaker run journal 1";

QByteArray encoded(const QByteArray& bytes)
{
    return bytes.isEmpty() ? QByteArray("-") : bytes.toPercentEncoding("/");
}

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

// Reads the journal line by line; any line out of its form ends the reading.
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
            return false; // a last line without its end: cut short
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

RunJournal::RunJournal(QString path) : m_path(std::move(path))
{
    read();
}

QString RunJournal::defaultPath()
{
#ifdef Q_OS_WIN
    const QString base = qEnvironmentVariable("LOCALAPPDATA");
    if (base.isEmpty())
        return {};
    return QDir::cleanPath(base) + QStringLiteral("/NMaker/journal");
#else
    // Relative values are invalid by the base directory rules.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString home = qEnvironmentVariable("HOME");
    QString base;
    if (state.startsWith(QLatin1Char('/')))
        base = state;
    else if (home.startsWith(QLatin1Char('/')))
        base = home + QStringLiteral("/.local/state");
    else
        return {};
    return QDir::cleanPath(base) + QStringLiteral("/NMaker/journal");
#endif
}

void RunJournal::setPath(QString path)
{
    m_path = std::move(path);
    m_known = {};
    read();
}

RunJournal::Stamp RunJournal::stampOf() const
{
    Stamp s;
    const QFileInfo info(m_path);
    s.exists = info.exists() || info.isSymLink();
    if (s.exists) {
        s.size = info.size();
        s.modified = info.lastModified();
        s.changed = info.metadataChangeTime();
    }
    return s;
}

void RunJournal::refresh()
{
    if (m_path.isEmpty() || stampOf() == m_known)
        return;
    read();
}

void RunJournal::read()
{
    if (m_path.isEmpty())
        return;
    m_known = stampOf();
    const QFileInfo info(m_path);
    if (!m_known.exists) {
        m_state = State::None;
        m_problem.clear();
        return;
    }
    auto bad = [this](const QString& why) {
        m_state = State::Bad;
        m_problem = why;
    };
    const QString notOurs = QStringLiteral("NMaker の実行の記録ではありません");
    // A link or another user's file could make the undo act on what someone else wrote.
    if (info.isSymLink() || !info.isFile())
        return bad(notOurs);
#ifdef Q_OS_UNIX
    if (info.ownerId() != ::getuid())
        return bad(notOurs);
#endif
    if (info.size() > MaxBytes)
        return bad(QStringLiteral("大きすぎます (上限は 64 MB です)"));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return bad(QStringLiteral("読めません"));
    const QByteArray bytes = file.read(MaxBytes + 1);
    if (bytes.size() > MaxBytes)
        return bad(QStringLiteral("大きすぎます (上限は 64 MB です)"));
    QString why;
    RunJournal parsed;
    if (!parsed.parse(bytes, &why))
        return bad(why);
    m_creation = std::move(parsed.m_creation);
    m_deletion = std::move(parsed.m_deletion);
    m_next = parsed.m_next;
    m_creationNumber = parsed.m_creationNumber;
    m_deletionNumber = parsed.m_deletionNumber;
    m_state = State::Read;
    m_problem.clear();
}

bool RunJournal::commitCreation()
{
    // Another process may have written a deletion meanwhile: it stays, this run is newer.
    CreationRecord mine = std::move(m_creation);
    refresh();
    m_creation = std::move(mine);
    m_creationNumber = m_next++;
    return save();
}

bool RunJournal::commitDeletion(QList<TrashPlace> places)
{
    refresh();
    m_deletion = std::move(places);
    m_deletionNumber = m_next++;
    return save();
}

QByteArray RunJournal::serialized() const
{
    QByteArray out;
    const QList<MadeFolder>& made = m_creation.folders();
    out.reserve(64 + made.size() * 80 + m_deletion.size() * 160);
    out += Header + '\n';
    out += "next " + QByteArray::number(m_next) + '\n';
    out += "creation " + QByteArray::number(m_creationNumber) + ' ' +
           QByteArray::number(made.size()) + '\n';
    for (const MadeFolder& m : made) {
        out += "c " + QByteArray::number(m.id.volume) + ' ' + QByteArray::number(m.id.node) + ' ' +
               QByteArray::number(m.id.birth) + ' ' + encoded(m.path.toUtf8()) + '\n';
    }
    out += "deletion " + QByteArray::number(m_deletionNumber) + ' ' +
           QByteArray::number(m_deletion.size()) + '\n';
    QList<std::pair<QByteArray, QByteArray>> trashes;
    for (const TrashPlace& p : m_deletion) {
        qsizetype t = 0;
        while (t < trashes.size() &&
               (trashes.at(t).first != p.trashDir || trashes.at(t).second != p.topdir))
            ++t;
        if (t == trashes.size()) {
            trashes.append({p.trashDir, p.topdir});
            out += "t " + encoded(p.trashDir) + ' ' + encoded(p.topdir) + '\n';
        }
        out += "d " + QByteArray::number(t) + ' ' + encoded(p.entry) + ' ' + encoded(p.info) + ' ' +
               QByteArray::number(p.infoStamp.volume) + ' ' + QByteArray::number(p.infoStamp.node) +
               ' ' + QByteArray::number(p.infoStamp.size) + ' ' +
               QByteArray::number(p.infoStamp.modified) + ' ' +
               QByteArray::number(p.entryId.volume) + ' ' + QByteArray::number(p.entryId.node) +
               ' ' + QByteArray::number(p.entryId.birth) + ' ' + encoded(p.original) + '\n';
    }
    out += "end " + checksum(out, out.size()) + '\n';
    return out;
}

bool RunJournal::parse(const QByteArray& bytes, QString* why)
{
    const QString broken =
        QStringLiteral("壊れています (途中で切れているか、書き換えられています)");
    auto fail = [why](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    Reader reader(bytes);
    QList<QByteArray> f;
    if (!reader.next(f) || f.join(' ') != Header)
        return fail(QStringLiteral("NMaker の実行の記録ではありません"));
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
    // The last line vouches for every byte before it: a journal cut short or changed by hand
    // is not used at all.
    if (!reader.next(f) || f.size() != 2 || f[0] != "end" || !reader.atEnd() ||
        f[1] != checksum(bytes, reader.lineStart()))
        return fail(broken);
    if (creationNumber >= next || deletionNumber >= next)
        return fail(broken);
    m_creation.assign(std::move(made));
    m_deletion = std::move(places);
    m_next = next;
    m_creationNumber = creationNumber;
    m_deletionNumber = deletionNumber;
    return true;
}

bool RunJournal::save()
{
    if (m_path.isEmpty())
        return true;
    QByteArray bytes = serialized();
    bool whole = true;
    if (bytes.size() > MaxBytes) {
        // The newer run alone, and if even that is too large, neither: never an older run
        // in place of the newer one.
        RunJournal newer;
        newer.m_next = m_next;
        newer.m_creationNumber = m_creationNumber;
        newer.m_deletionNumber = m_deletionNumber;
        if (m_creationNumber > m_deletionNumber)
            newer.m_creation = m_creation;
        else
            newer.m_deletion = m_deletion;
        bytes = newer.serialized();
        whole = bytes.size() <= MaxBytes;
        if (!whole) {
            newer.m_creation.start();
            newer.m_deletion.clear();
            bytes = newer.serialized();
        }
    }
    const QString dir = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(dir))
        return false;
#ifdef Q_OS_UNIX
    // The folder is private: nobody else can put a journal of theirs in our place.
    QFile::setPermissions(dir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
#endif
    // A link would make the write replace whatever it points to: the link goes instead.
    if (QFileInfo(m_path).isSymLink() && !QFile::remove(m_path))
        return false;
    const bool written = writeFileAtomically(m_path, bytes);
    m_known = stampOf();
    if (written) {
        m_state = State::Read;
        m_problem.clear();
    }
    return written && whole;
}
