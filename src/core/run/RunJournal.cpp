#include "RunJournal.h"

#include "run/RunJournalVersion1.h"

#ifdef Q_OS_UNIX
#include "fileops/PosixFiles.h"
#endif

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <qalgorithms.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>

// The file, line by line. Every line ends with a space, the checksum of what comes before it
// (eight hex digits) and LF; fields are separated by one space; names are percent-encoded
// where they hold spaces, control characters or '%', "-" standing for an empty one.
//
//   NMaker run journal 2 next=N generation=G creation=AT deletion=AT   the head, rewritten in
//                                                  place; AT: where that kind's last header is
//   R run C|D when pid process                     a run begins (C create, D delete)
//   E run                                          it ended
//   c run volume node birth path                   a folder it made
//   t run index trashdir topdir                    a trash it used
//   d run index entry info ivolume inode isize imodified evolume enode ebirth original
//                                                  an item it sent there
//   g run original                                 an item it sent where no record reaches
//   x run path                                     a folder made off the record
//   y run trashdir entry                           an item trashed off the record

namespace
{

const QByteArray Magic = "NMaker run journal 2";
constexpr qsizetype NumberWidth = 20;
constexpr qint64 HeadOnly = std::numeric_limits<qint64>::max();

quint32 checksum(const char* data, qsizetype size)
{
    // A fast mix of eight bytes at a time: it tells a damaged or cut line, nothing more.
    quint64 h = 0x9E3779B97F4A7C15ull ^ quint64(size);
    while (size >= 8) {
        h = (h ^ qFromLittleEndian<quint64>(data)) * 0xff51afd7ed558ccdull;
        h ^= h >> 32;
        data += 8;
        size -= 8;
    }
    unsigned char rest[8] = {};
    std::memcpy(rest, data, size_t(size));
    h = (h ^ qFromLittleEndian<quint64>(rest)) * 0xc4ceb9fe1a85ec53ull;
    h ^= h >> 29;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 32;
    return quint32(h);
}

const char Hex[] = "0123456789abcdef";

// Builds one line at the end of `out`: in a buffer of its own first, since a run writes one
// per folder and appending piece by piece to the array costs more than the rest together.
class Line
{
public:
    Line(QByteArray& out, char type) : m_out(out) { put(type); }

    // Numbers in hex: shorter, and written without a division per digit.
    Line& number(quint64 value)
    {
        put(' ');
        hex(value);
        return *this;
    }
    Line& number(qint64 value)
    {
        put(' ');
        if (value < 0)
            put('-');
        hex(value < 0 ? quint64(0) - quint64(value) : quint64(value));
        return *this;
    }
    Line& word(char c)
    {
        put(' ');
        put(c);
        return *this;
    }
    Line& name(QByteArrayView bytes)
    {
        put(' ');
        if (bytes.isEmpty())
            return put('-'), *this;
        if (bytes == "-")
            return put("%2D", 3), *this;
        const auto escaped = [](char ch) {
            const auto c = static_cast<unsigned char>(ch);
            return c <= 0x20 || c == 0x7f || c == '%';
        };
        // Mostly nothing to escape: one look, one copy.
        const auto firstEscaped = std::find_if(bytes.begin(), bytes.end(), escaped);
        if (firstEscaped == bytes.end())
            return put(bytes.data(), bytes.size()), *this;
        reserve(3 * bytes.size());
        char* o = m_at + m_used;
        for (const char ch : bytes) {
            const auto c = static_cast<unsigned char>(ch);
            if (c <= 0x20 || c == 0x7f || c == '%') {
                o[0] = '%';
                o[1] = Hex[c >> 4];
                o[2] = Hex[c & 15];
                o += 3;
            } else {
                *o++ = ch;
            }
        }
        m_used = o - m_at;
        return *this;
    }
    Line& text(const QString& value) { return name(QByteArrayView(value.toUtf8())); }

    void end()
    {
        const quint32 sum = checksum(m_at, m_used);
        reserve(10);
        m_at[m_used++] = ' ';
        for (int i = 0; i < 8; ++i)
            m_at[m_used++] = Hex[(sum >> (28 - 4 * i)) & 15];
        m_at[m_used++] = '\n';
        const qsizetype at = m_out.size();
        m_out.resize(at + m_used);
        std::memcpy(m_out.data() + at, m_at, size_t(m_used));
    }

private:
    void hex(quint64 value)
    {
        reserve(16);
        const int digits = value == 0 ? 1 : (67 - qCountLeadingZeroBits(value)) / 4;
        char* o = m_at + m_used + digits;
        m_used += digits;
        do {
            *--o = Hex[value & 15];
            value >>= 4;
        } while (value != 0);
    }
    void put(char c)
    {
        reserve(1);
        m_at[m_used++] = c;
    }
    void put(const char* text, qsizetype size)
    {
        reserve(size);
        std::memcpy(m_at + m_used, text, size_t(size));
        m_used += size;
    }
    void reserve(qsizetype more)
    {
        if (Q_LIKELY(m_used + more <= m_capacity))
            return;
        grow(more);
    }
    Q_NEVER_INLINE void grow(qsizetype more)
    {
        const bool onStack = m_at == m_stack;
        m_heap.resize(std::max(2 * m_capacity, m_used + more)); // keeps what the heap held
        if (onStack)
            std::memcpy(m_heap.data(), m_stack, size_t(m_used));
        m_at = m_heap.data();
        m_capacity = m_heap.size();
    }

    QByteArray& m_out;
    char m_stack[512];
    char* m_at = m_stack;
    qsizetype m_capacity = sizeof m_stack;
    qsizetype m_used = 0;
    QByteArray m_heap; // for a line longer than the stack's room
};

// The fields of one line whose checksum holds, the checksum left out.
struct Fields {
    std::array<QByteArrayView, 15> at;
    int count = 0;

    bool split(const char* line, qsizetype size)
    {
        const qsizetype last = size - 9;
        if (last < 1 || line[last] != ' ')
            return false;
        quint32 sum = 0;
        for (qsizetype i = last + 1; i < size; ++i) {
            const char c = line[i];
            const int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (v < 0)
                return false;
            sum = (sum << 4) | quint32(v);
        }
        if (sum != checksum(line, last))
            return false;
        qsizetype from = 0;
        for (qsizetype i = 0; i <= last; ++i) {
            if (i == last || line[i] == ' ') {
                if (count == int(at.size()))
                    return false;
                at[size_t(count++)] = QByteArrayView(line + from, i - from);
                from = i + 1;
            }
        }
        return true;
    }
};

// The lines' numbers are hex; the head's are decimal.
template <class Number> bool parseNumber(QByteArrayView field, Number& out, int base = 16)
{
    if (field.isEmpty() || field.front() == '+')
        return false;
    const auto r = std::from_chars(field.data(), field.data() + field.size(), out, base);
    return r.ec == std::errc() && r.ptr == field.data() + field.size();
}

QByteArray decodedName(QByteArrayView field)
{
    if (field == "-")
        return {};
    if (!field.contains('%'))
        return field.toByteArray();
    return QByteArray::fromPercentEncoding(field.toByteArray());
}

qint64 ownToken()
{
    static const qint64 token = JournalFile::processToken(JournalFile::currentProcessId());
    return token;
}

// Holds the journal's lock for a scope, unless it was held already.
class Locked
{
public:
    Locked(JournalFile::Lock& lock, const QString& path)
        : m_lock(lock), m_mine(!path.isEmpty() && !lock.held())
    {
        m_ok = path.isEmpty() || lock.acquire(path);
        m_mine = m_mine && m_ok;
    }
    ~Locked()
    {
        if (m_mine)
            m_lock.release();
    }
    bool ok() const { return m_ok; }

private:
    JournalFile::Lock& m_lock;
    bool m_mine;
    bool m_ok = false;
};

QString notOursText()
{
    return QCoreApplication::translate("RunJournal", "NMaker の実行の記録ではありません");
}

QString brokenText()
{
    return QCoreApplication::translate("RunJournal",
                                       "壊れています (途中で切れているか、書き換えられています)");
}

} // namespace

RunJournal::RunJournal(QString path) : m_path(std::move(path)) {}

RunJournal::~RunJournal()
{
    flush();
}

QString RunJournal::defaultPath()
{
#ifdef Q_OS_WIN
    const QString base = qEnvironmentVariable("LOCALAPPDATA");
    if (base.isEmpty())
        return {};
    return QDir::cleanPath(base) + QStringLiteral("/NMaker/journal");
#else
    // As bytes, and only when they are text: a home that is none would read as another folder.
    // Relative values are invalid by the base directory rules.
    bool notText = false;
    QByteArray base = posix::environmentPath("XDG_STATE_HOME", &notText);
    if (base.isEmpty() && !notText) {
        const QByteArray home = posix::environmentPath("HOME", &notText);
        if (!home.isEmpty())
            base = home + "/.local/state";
    }
    if (base.isEmpty())
        return {};
    return QDir::cleanPath(QFile::decodeName(base)) + QStringLiteral("/NMaker/journal");
#endif
}

QString RunJournal::defaultPathProblem()
{
#ifdef Q_OS_WIN
    return QCoreApplication::translate("RunJournal", "LOCALAPPDATA がありません");
#else
    bool stateNotText = false, homeNotText = false;
    posix::environmentPath("XDG_STATE_HOME", &stateNotText);
    posix::environmentPath("HOME", &homeNotText);
    if (stateNotText || homeNotText)
        return QCoreApplication::translate(
            "RunJournal", "HOME か XDG_STATE_HOME がファイル名の文字コード (UTF-8) として"
                          "読めません");
    return QCoreApplication::translate("RunJournal",
                                       "HOME も XDG_STATE_HOME も絶対パスではありません");
#endif
}

void RunJournal::setPath(QString path)
{
    flush();
    m_appender.close();
    m_path = std::move(path);
    m_lock.release();
    m_loaded = false;
    m_unrecordedAt = -1;
    resetModel();
    m_state = State::None;
    m_problem.clear();
}

QByteArray RunJournal::sealed(QByteArrayView fields)
{
    QByteArray out = fields.toByteArray();
    const quint32 sum = checksum(out.constData(), out.size());
    out += ' ';
    for (int i = 0; i < 8; ++i)
        out += Hex[(sum >> (28 - 4 * i)) & 15];
    return out + '\n';
}

// --- the head --------------------------------------------------------------------------------

QByteArray RunJournal::headLine(const Head& head)
{
    auto fixed = [](const char* key, quint64 value) -> QByteArray {
        QByteArray text = QByteArray::number(value);
        return QByteArray(key) + QByteArray(NumberWidth - text.size(), '0') + text;
    };
    QByteArray out = Magic;
    out += fixed(" next=", head.next) + fixed(" generation=", head.generation) +
           fixed(" creation=", quint64(head.creationAt)) +
           fixed(" deletion=", quint64(head.deletionAt));
    return sealed(out);
}

namespace
{
const qsizetype HeadSize = [] {
    return qsizetype(Magic.size() + 4 * (NumberWidth + 1) + 5 + 11 + 9 + 9 + 10);
}();
} // namespace

bool RunJournal::parseHead(const QByteArray& bytes, Head& head)
{
    if (bytes.size() < HeadSize || bytes.at(HeadSize - 1) != '\n' ||
        !bytes.startsWith(QByteArray(Magic + ' ')))
        return false;
    Fields f;
    if (!f.split(bytes.constData(), HeadSize - 1) || f.count != 8)
        return false;
    auto value = [&f](int i, const char* key, quint64& out) {
        const QByteArrayView field = f.at[size_t(i)];
        const qsizetype k = qsizetype(std::strlen(key));
        return field.startsWith(key) && parseNumber(field.sliced(k), out, 10);
    };
    quint64 c = 0, d = 0;
    if (!value(4, "next=", head.next) || !value(5, "generation=", head.generation) ||
        !value(6, "creation=", c) || !value(7, "deletion=", d) || head.next == 0)
        return false;
    head.creationAt = qint64(c);
    head.deletionAt = qint64(d);
    return true;
}

qint64 RunJournal::startOf(const Head& head) const
{
    qint64 start = 0;
    for (const qint64 at : {head.creationAt, head.deletionAt}) {
        if (at >= HeadSize && (start == 0 || at < start))
            start = at;
    }
    return start == 0 ? qint64(HeadSize) : start;
}

// --- reading ---------------------------------------------------------------------------------

void RunJournal::resetModel()
{
    m_head = {};
    m_consumed = 0;
    m_version1 = false;
    m_creationRun = {};
    m_deletionRun = {};
    m_creationToken = m_deletionToken = -1;
    m_made = {};
    m_trashed.clear();
    m_trashes.clear();
    m_beyondReach = 0;
    m_madeOff.clear();
    m_trashedOff.clear();
}

void RunJournal::setBad(const QString& why)
{
    resetModel();
    m_state = State::Bad;
    m_problem = why;
    m_loaded = true;
}

JournalFile::Snapshot RunJournal::fetch(qint64 from) const
{
    if (!m_path.isEmpty())
        return JournalFile::read(m_path, HeadSize, from, MaxBytes);
    JournalFile::Snapshot s;
    s.status = m_memory.isEmpty() ? JournalFile::Status::Missing : JournalFile::Status::Done;
    s.size = m_memory.size();
    s.head = m_memory.left(HeadSize);
    if (from < s.size)
        s.tail = m_memory.mid(qsizetype(from));
    return s;
}

void RunJournal::ensureRead()
{
    if (!m_loaded || m_dirty)
        refresh();
}

void RunJournal::refresh()
{
    flush();
    m_dirty = false;
    const Locked locked(m_lock, m_path); // a look without it is still whole up to its last LF
    const bool incremental = m_loaded && m_state == State::Read && !m_version1;
    JournalFile::Snapshot s = fetch(incremental ? m_consumed : HeadOnly);
    switch (s.status) {
    case JournalFile::Status::Missing:
        resetModel();
        m_state = State::None;
        m_problem.clear();
        m_loaded = true;
        return;
    case JournalFile::Status::NotOurs:
        return setBad(notOursText());
    case JournalFile::Status::Failed:
        return setBad(QCoreApplication::translate("RunJournal", "読めません"));
    case JournalFile::Status::Done:
        break;
    }
    if (s.size > MaxBytes)
        return setBad(
            QCoreApplication::translate("RunJournal", "大きすぎます (上限は 256 MB です)"));
    if (s.size == 0) {
        // Begun on a full disk, or emptied so that no older run stands for a newer one.
        resetModel();
        m_state = State::None;
        m_problem.clear();
        m_loaded = true;
        return;
    }
    if (s.head.startsWith(QByteArray(JournalVersion1Header + '\n'))) {
        const JournalFile::Snapshot whole = fetch(0);
        if (!loadVersion1(whole.tail))
            return;
        m_loaded = true;
        return;
    }
    Head head;
    if (!parseHead(s.head, head))
        return setBad(s.head.startsWith("NMaker run journal") ? brokenText() : notOursText());
    if (!incremental || head.generation != m_head.generation || s.size < m_consumed) {
        // New, or written anew meanwhile: from the last runs' headers on.
        resetModel();
        m_consumed = qMin(startOf(head), s.size);
        s = fetch(m_consumed);
    }
    m_head = head;
    m_consumed += parseLines(s.tail.constData(), s.tail.size());
    applyForgets();
    settleRuns();
    m_state = State::Read;
    m_problem.clear();
    m_loaded = true;
}

qsizetype RunJournal::parseLines(const char* data, qsizetype size)
{
    qsizetype at = 0;
    while (at < size) {
        const char* end = static_cast<const char*>(std::memchr(data + at, '\n', size_t(size - at)));
        if (!end)
            break; // being written, or cut short: not read yet
        applyLine(data + at, end - data - at);
        at = end - data + 1;
    }
    return at;
}

void RunJournal::applyLine(const char* line, qsizetype size)
{
    Fields f;
    quint64 run = 0;
    // A damaged line costs itself only.
    if (!f.split(line, size) || f.count < 2 || f.at[0].size() != 1 || !parseNumber(f.at[1], run))
        return;
    const auto& v = f.at;
    switch (v[0].front()) {
    case 'R': {
        qint64 when = 0, pid = 0, token = 0;
        if (f.count != 6 || v[2].size() != 1 || !parseNumber(v[3], when) ||
            !parseNumber(v[4], pid) || !parseNumber(v[5], token))
            return;
        RunInfo info;
        info.number = run;
        info.began = when > 0 ? QDateTime::fromMSecsSinceEpoch(when) : QDateTime();
        info.pid = pid;
        if (v[2].front() == 'C' && run > m_creationRun.number) {
            m_creationRun = info;
            m_creationToken = token;
            m_made = {};
            m_madeOff.clear();
        } else if (v[2].front() == 'D' && run > m_deletionRun.number) {
            m_deletionRun = info;
            m_deletionToken = token;
            m_trashed.clear();
            m_trashes.clear();
            m_beyondReach = 0;
            m_trashedOff.clear();
        }
        return;
    }
    case 'E':
        if (run == m_creationRun.number)
            m_creationRun.finished = true;
        if (run == m_deletionRun.number)
            m_deletionRun.finished = true;
        return;
    case 'c': {
        if (run != m_creationRun.number || f.count != 6)
            return;
        MadeFolder m;
        if (!parseNumber(v[2], m.id.volume) || !parseNumber(v[3], m.id.node) ||
            !parseNumber(v[4], m.id.birth))
            return;
        m.path = QString::fromUtf8(decodedName(v[5]));
        if (!m.path.isEmpty())
            m_made.add(m);
        return;
    }
    case 'k': {
        qint64 entries = -1;
        if (run != m_creationRun.number || f.count != 5 || !parseNumber(v[2], entries))
            return;
        m_made.setCopy(QString::fromUtf8(decodedName(v[4])), entries, decodedName(v[3]));
        return;
    }
    case 't': {
        quint64 index = 0;
        if (run == m_deletionRun.number && f.count == 5 && parseNumber(v[2], index))
            m_trashes.insert(index, {decodedName(v[3]), decodedName(v[4])});
        return;
    }
    case 'd': {
        if (run != m_deletionRun.number || f.count != 13)
            return;
        TrashPlace p;
        quint64 index = 0;
        const auto trash = parseNumber(v[2], index) ? m_trashes.constFind(index) : m_trashes.cend();
        if (trash == m_trashes.cend() || !parseNumber(v[5], p.infoStamp.volume) ||
            !parseNumber(v[6], p.infoStamp.node) || !parseNumber(v[7], p.infoStamp.size) ||
            !parseNumber(v[8], p.infoStamp.modified) || !parseNumber(v[9], p.entryId.volume) ||
            !parseNumber(v[10], p.entryId.node) || !parseNumber(v[11], p.entryId.birth)) {
            // Sent to the trash, but where is lost: nothing older may stand for it.
            ++m_beyondReach;
            return;
        }
        p.trashDir = trash->first;
        p.topdir = trash->second;
        p.entry = decodedName(v[3]);
        p.info = decodedName(v[4]);
        p.original = decodedName(v[12]);
        m_trashed.append(std::move(p));
        return;
    }
    case 'g':
        if (run == m_deletionRun.number)
            ++m_beyondReach;
        return;
    case 'x':
        if (run == m_creationRun.number && f.count == 3)
            m_madeOff.insert(QString::fromUtf8(decodedName(v[2])));
        return;
    case 'y':
        if (run == m_deletionRun.number && f.count == 4)
            m_trashedOff.insert(decodedName(v[2]) + '\0' + decodedName(v[3]));
        return;
    default:
        return; // a line of a later version
    }
}

void RunJournal::applyForgets()
{
    if (!m_madeOff.isEmpty()) {
        m_made.forget(m_madeOff);
        m_madeOff.clear();
    }
    if (!m_trashedOff.isEmpty()) {
        m_trashed.removeIf([this](const TrashPlace& p) {
            return m_trashedOff.contains(p.trashDir + '\0' + p.entry);
        });
        m_trashedOff.clear();
    }
}

void RunJournal::settleRuns()
{
    const qint64 self = JournalFile::currentProcessId();
    auto settle = [self](RunInfo& run, qint64 token) {
        run.running = run.number != 0 && !run.finished && run.pid != self && token >= 0 &&
                      JournalFile::processToken(run.pid) == token;
    };
    settle(m_creationRun, m_creationToken);
    settle(m_deletionRun, m_deletionToken);
}

bool RunJournal::loadVersion1(const QByteArray& bytes)
{
    JournalVersion1 old;
    QString why;
    if (!parseJournalVersion1(bytes, old, &why)) {
        setBad(why);
        return false;
    }
    resetModel();
    m_version1 = true;
    m_head.next = old.next;
    m_creationRun.number = old.creationNumber;
    m_creationRun.finished = true;
    m_deletionRun.number = old.deletionNumber;
    m_deletionRun.finished = true;
    m_made.assign(std::move(old.made));
    m_trashed = std::move(old.trashed);
    m_state = State::Read;
    m_problem.clear();
    return true;
}

RunJournal::State RunJournal::state()
{
    ensureRead();
    return m_state;
}

QString RunJournal::problem()
{
    ensureRead();
    return m_problem;
}

const RunJournal::RunInfo& RunJournal::creationRun()
{
    ensureRead();
    return m_creationRun;
}

const RunJournal::RunInfo& RunJournal::deletionRun()
{
    ensureRead();
    return m_deletionRun;
}

const CreationRecord& RunJournal::creation()
{
    ensureRead();
    return m_made;
}

const QList<TrashPlace>& RunJournal::deletion()
{
    ensureRead();
    return m_trashed;
}

qsizetype RunJournal::deletionBeyondReach()
{
    ensureRead();
    return m_beyondReach;
}

bool RunJournal::newestUnrecorded()
{
    ensureRead();
    const RunInfo& newest =
        m_creationRun.number > m_deletionRun.number ? m_creationRun : m_deletionRun;
    // A number was given out for a run whose header never came.
    if (m_state == State::Read && !m_version1 && m_head.next > newest.number + 1)
        return true;
    return m_unrecordedAt >= 0 &&
           (!newest.began.isValid() || newest.began.toMSecsSinceEpoch() < m_unrecordedAt);
}

// --- writing ---------------------------------------------------------------------------------

JournalFile::Status RunJournal::storeAppend(const QByteArray& bytes, qint64* at)
{
    if (!m_path.isEmpty())
        return m_run.begun ? m_appender.append(m_path, bytes, MaxBytes, at)
                           : JournalFile::append(m_path, bytes, MaxBytes, at);
    if (m_memory.isEmpty())
        return JournalFile::Status::Missing;
    if (at)
        *at = m_memory.size();
    m_memory += bytes;
    return JournalFile::Status::Done;
}

JournalFile::Status RunJournal::storeHead(const QByteArray& bytes)
{
    if (!m_path.isEmpty())
        return JournalFile::writeHead(m_path, bytes);
    if (m_memory.size() < bytes.size())
        return JournalFile::Status::Failed;
    m_memory.replace(0, bytes.size(), bytes);
    return JournalFile::Status::Done;
}

JournalFile::Status RunJournal::storeNew(const QByteArray& bytes, bool replacing)
{
    if (m_path.isEmpty()) {
        m_memory = bytes;
        return JournalFile::Status::Done;
    }
    return replacing ? JournalFile::replace(m_path, bytes) : JournalFile::create(m_path, bytes);
}

bool RunJournal::beginRun(RunKind kind)
{
    flush();
    m_run = {};
    m_run.active = true;
    m_run.kind = kind;
    m_run.record = Record::None;
    m_dirty = true;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!m_path.isEmpty() && !JournalFile::makeFolder(QFileInfo(m_path).absolutePath())) {
        markUnrecorded(now, true);
        return false;
    }
    const Locked locked(m_lock, m_path);
    if (!locked.ok()) {
        // Someone holds the lock for long: their record is not ours to discard.
        markUnrecorded(now, false);
        return false;
    }

    const JournalFile::Snapshot s = fetch(HeadOnly);
    Head head;
    bool fresh = true;
    QByteArray carried; // the runs of a journal of the earlier version
    if (s.status == JournalFile::Status::Failed) {
        markUnrecorded(now, true);
        return false;
    }
    if (s.status == JournalFile::Status::Done && s.size > 0 && s.size <= MaxBytes) {
        if (s.head.startsWith(QByteArray(JournalVersion1Header + '\n'))) {
            JournalVersion1 old;
            if (parseJournalVersion1(fetch(0).tail, old, nullptr))
                carried = version1Lines(old, head);
        } else if (parseHead(s.head, head)) {
            fresh = false;
        }
        // Anything else is no journal of ours, or a broken one: a new one takes its place.
    }

    const quint64 number = head.next++;
    QByteArray header;
    Line(header, 'R')
        .number(number)
        .word(kind == RunKind::Create ? 'C' : 'D')
        .number(now)
        .number(JournalFile::currentProcessId())
        .number(ownToken())
        .end();
    qint64& kindAt = kind == RunKind::Create ? head.creationAt : head.deletionAt;
    if (fresh) {
        head.generation = quint64(now) * 1000 + (head.generation % 1000) + 1;
        kindAt = HeadSize + carried.size();
        const bool replacing = s.status != JournalFile::Status::Missing;
        if (storeNew(headLine(head) + carried + header, replacing) != JournalFile::Status::Done) {
            markUnrecorded(now, true);
            return false;
        }
    } else {
        // The number is taken first: should the header not follow, the newest run on record
        // is known to be missing, and no older one is taken for it.
        if (storeHead(headLine(head)) != JournalFile::Status::Done) {
            markUnrecorded(now, true);
            return false;
        }
        qint64 at = 0;
        if (storeAppend(header, &at) != JournalFile::Status::Done) {
            markUnrecorded(now, false);
            return false;
        }
        kindAt = at;
        (void)storeHead(headLine(head)); // else readers start earlier: slower, never wrong
    }
    m_run.number = number;
    m_run.begun = true;
    m_run.record = Record::Whole;
    m_unrecordedAt = -1;
    return true;
}

void RunJournal::markUnrecorded(qint64 when, bool discardOlder)
{
    m_run.begun = false;
    m_run.record = Record::None;
    m_unrecordedAt = when;
    // Nothing could be written: the older runs go, rather than stand for this one.
    if (discardOlder) {
        if (m_path.isEmpty())
            m_memory.clear();
        else
            JournalFile::discard(m_path);
    }
}

QByteArray RunJournal::version1Lines(const JournalVersion1& old, Head& head)
{
    head.next = qMax<quint64>(old.next, 1);
    QByteArray out;
    auto creation = [&] {
        if (old.creationNumber == 0 && old.made.isEmpty())
            return;
        head.creationAt = HeadSize + out.size();
        Line(out, 'R')
            .number(old.creationNumber)
            .word('C')
            .number(qint64(0))
            .number(qint64(0))
            .number(qint64(-1))
            .end();
        for (const MadeFolder& m : old.made)
            Line(out, 'c')
                .number(old.creationNumber)
                .number(m.id.volume)
                .number(m.id.node)
                .number(m.id.birth)
                .text(m.path)
                .end();
        Line(out, 'E').number(old.creationNumber).end();
    };
    auto deletion = [&] {
        if (old.deletionNumber == 0 && old.trashed.isEmpty())
            return;
        head.deletionAt = HeadSize + out.size();
        Line(out, 'R')
            .number(old.deletionNumber)
            .word('D')
            .number(qint64(0))
            .number(qint64(0))
            .number(qint64(-1))
            .end();
        QList<std::pair<QByteArray, QByteArray>> trashes;
        for (const TrashPlace& p : old.trashed)
            appendTrashed(out, old.deletionNumber, trashes, p);
        Line(out, 'E').number(old.deletionNumber).end();
    };
    if (old.creationNumber < old.deletionNumber) {
        creation();
        deletion();
    } else {
        deletion();
        creation();
    }
    return out;
}

void RunJournal::appendTrashed(QByteArray& out, quint64 run,
                               QList<std::pair<QByteArray, QByteArray>>& trashes,
                               const TrashPlace& p)
{
    // Mostly the trash of the item before.
    qsizetype t = trashes.size() - 1;
    if (t < 0 || trashes.at(t).first != p.trashDir || trashes.at(t).second != p.topdir) {
        t = 0;
        while (t < trashes.size() &&
               (trashes.at(t).first != p.trashDir || trashes.at(t).second != p.topdir))
            ++t;
    }
    if (t == trashes.size()) {
        trashes.append({p.trashDir, p.topdir});
        Line(out, 't').number(run).number(quint64(t)).name(p.trashDir).name(p.topdir).end();
    }
    Line(out, 'd')
        .number(run)
        .number(quint64(t))
        .name(p.entry)
        .name(p.info)
        .number(p.infoStamp.volume)
        .number(p.infoStamp.node)
        .number(p.infoStamp.size)
        .number(p.infoStamp.modified)
        .number(p.entryId.volume)
        .number(p.entryId.node)
        .number(p.entryId.birth)
        .name(p.original)
        .end();
}

void RunJournal::recordMade(const MadeFolder& folder)
{
    if (!m_run.begun)
        return;
    Line line(m_pending, 'c');
    line.number(m_run.number)
        .number(folder.id.volume)
        .number(folder.id.node)
        .number(folder.id.birth);
    if (folder.bytes.isEmpty())
        line.text(folder.path);
    else
        line.name(folder.bytes); // the same UTF-8 the text would give, at hand already
    line.end();
    queued();
}

void RunJournal::recordCopy(const QString& path, qint64 entries, const QByteArray& digest)
{
    if (!m_run.begun)
        return;
    Line(m_pending, 'k').number(m_run.number).number(entries).name(digest).text(path).end();
    queued();
}

void RunJournal::recordTrashed(const TrashPlace& place, const QString& original)
{
    if (!m_run.begun)
        return;
    if (place.isKnown())
        appendTrashed(m_pending, m_run.number, m_run.trashes, place);
    else
        Line(m_pending, 'g').number(m_run.number).text(original).end();
    queued();
}

void RunJournal::recordTakenBack(quint64 run, const QString& path)
{
    Line(m_pending, 'x').number(run).text(path).end();
    queued();
}

void RunJournal::recordRestored(quint64 run, const TrashPlace& place)
{
    Line(m_pending, 'y').number(run).name(place.trashDir).name(place.entry).end();
    queued();
}

void RunJournal::endRun()
{
    if (m_run.begun) {
        Line(m_pending, 'E').number(m_run.number).end();
        ++m_pendingLines;
    }
    flush();
    m_appender.close();
    if (m_run.begun)
        compact();
    m_run.active = false;
    m_run.begun = false;
}

void RunJournal::queued()
{
    if (m_pendingLines++ == 0)
        m_pendingSince.start();
    // The lines wait a little: one write per few dozen folders costs next to nothing, and a
    // run that dies loses no more than those.
    if (m_pendingLines >= BatchLines ||
        (m_pendingLines % 8 == 0 && m_pendingSince.elapsed() >= BatchMs))
        flush();
}

void RunJournal::flush()
{
    if (m_pending.isEmpty())
        return;
    bool ok = false;
    {
        const Locked locked(m_lock, m_path);
        ok = locked.ok() && storeAppend(m_pending, nullptr) == JournalFile::Status::Done;
    }
    if (!ok && m_run.begun)
        m_run.record = Record::Partial;
    m_pending.truncate(0); // keeps its room for the next batch
    m_pendingLines = 0;
    m_dirty = true;
}

void RunJournal::compact()
{
    const Locked locked(m_lock, m_path);
    if (!locked.ok())
        return;
    const JournalFile::Snapshot s = fetch(HeadOnly);
    Head head;
    if (s.status != JournalFile::Status::Done || !parseHead(s.head, head))
        return;
    // Everything before the older of the last two runs' headers belongs to runs that no undo
    // will take back again.
    const qint64 cut = startOf(head);
    if (cut - HeadSize < CompactAfter || cut < s.size / 3)
        return;
    const JournalFile::Snapshot rest = fetch(cut);
    if (rest.status != JournalFile::Status::Done)
        return;
    const qint64 shift = cut - HeadSize;
    head.generation += 1;
    if (head.creationAt >= cut)
        head.creationAt -= shift;
    else
        head.creationAt = 0;
    if (head.deletionAt >= cut)
        head.deletionAt -= shift;
    else
        head.deletionAt = 0;
    // All at once: a crash leaves the old file or the new one, never half of either.
    (void)storeNew(headLine(head) + rest.tail, true);
    m_dirty = true;
}
