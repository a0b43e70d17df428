#include "FolderTemplate.h"

#include "TemplateTexts.h"
#include "fileops/CopyReasons.h"
#include "fileops/FileSystem.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace
{

// The path as the host means it, so that a link or a second spelling does not hide that two
// paths are one: links resolved as far as the path exists, names compared without case on
// Windows.
QString comparable(QString path, PathStyle style)
{
    const QChar sep = pathSeparator(style);
    if (style == hostPathStyle()) {
        QString rest;
        QString head = QDir::cleanPath(QDir::fromNativeSeparators(path));
        while (!head.isEmpty()) {
            const QString real = QFileInfo(head).canonicalFilePath();
            if (!real.isEmpty()) {
                path = QDir::toNativeSeparators(real + rest);
                break;
            }
            const qsizetype slash = head.lastIndexOf(u'/');
            if (slash <= 0)
                break;
            rest.prepend(head.mid(slash));
            head.truncate(slash);
        }
    }
    while (path.size() > 1 && path.endsWith(sep))
        path.chop(1);
    return style == PathStyle::Windows ? path.toLower() : path;
}

bool within(const QString& inner, const QString& outer, QChar sep)
{
    return inner == outer ||
           (inner.startsWith(outer) && (outer.endsWith(sep) || inner.at(outer.size()) == sep));
}

} // namespace

QStringList TemplatePlan::firstLevel() const
{
    QStringList names;
    for (const TreeEntry& e : entries) {
        if (e.path.contains(u'/'))
            continue;
        if (source.foldersOnly && e.kind != TreeEntry::Kind::Folder)
            continue;
        if (e.kind != TreeEntry::Kind::Special)
            names << e.path;
    }
    return names;
}

std::optional<TemplatePlan> measureTemplate(FileSystem& fs, const FolderTemplate& source,
                                            QString* why)
{
    const QString shown = QDir::toNativeSeparators(source.folder);
    TreeRead tree = fs.readTree(source.folder, TemplateBound::Entries);
    if (tree.pastLimit) {
        *why = TemplateText::tooManyEntries(shown);
        return std::nullopt;
    }
    if (!tree.ok()) {
        *why = TemplateText::notFound(shown, tree.failure.text);
        return std::nullopt;
    }
    TemplatePlan plan;
    plan.source = source;
    for (const TreeEntry& e : std::as_const(tree.entries)) {
        if (e.path.count(u'/') + 1 > TemplateBound::Depth) {
            *why = TemplateText::tooDeep(shown);
            return std::nullopt;
        }
        switch (e.kind) {
        case TreeEntry::Kind::Folder:
            ++plan.folders;
            break;
        case TreeEntry::Kind::File:
            ++plan.files;
            plan.bytes += e.size;
            break;
        case TreeEntry::Kind::Link:
            ++plan.files;
            break;
        case TreeEntry::Kind::Special:
            ++plan.special;
            break;
        }
    }
    if (plan.bytesPerCopy() > TemplateBound::Bytes) {
        *why = TemplateText::tooLarge(shown, plan.bytes);
        return std::nullopt;
    }
    plan.entries = std::move(tree.entries);
    return plan;
}

QString templateOverlap(const TemplatePlan& plan, const QString& path, PathStyle style,
                        bool isTarget)
{
    const QChar sep = pathSeparator(style);
    const QString folder = comparable(plan.source.folder, style);
    const QString other = comparable(path, style);
    const QString shown = QDir::toNativeSeparators(plan.source.folder);
    if (within(other, folder, sep))
        return TemplateText::insideTemplate(shown, path);
    if (isTarget && within(folder, other, sep))
        return TemplateText::holdsTemplate(shown, path);
    return {};
}

QString templateSpace(FileSystem& fs, const TemplatePlan& plan, const QString& target,
                      qsizetype copies, PathStyle style)
{
    const qint64 need = plan.bytesPerCopy() * copies;
    if (need <= 0)
        return {};
    const QChar sep = pathSeparator(style);
    QString where = target;
    while (!fs.folderExist(where)) {
        const qsizetype at = where.lastIndexOf(sep, where.endsWith(sep) ? -2 : -1);
        if (at <= 0)
            return {};
        where.truncate(style == PathStyle::Windows && at == 2 ? at + 1 : at);
    }
    const qint64 free = fs.freeBytes(where);
    if (free < 0 || need <= free)
        return {};
    return TemplateText::noRoom(need, where, free);
}

std::optional<TemplatePlan> checkTemplate(FileSystem& fs, const FolderTemplate& source,
                                          const QString& target, const QStringList& folders,
                                          qsizetype copies, PathStyle style, QString* why)
{
    std::optional<TemplatePlan> plan = measureTemplate(fs, source, why);
    if (!plan)
        return std::nullopt;
    if (!target.isEmpty())
        *why = templateOverlap(*plan, target, style, true);
    for (qsizetype i = 0; why->isEmpty() && i < folders.size(); ++i)
        *why = templateOverlap(*plan, folders.at(i), style, false);
    if (why->isEmpty()) {
        const QString where = !target.isEmpty() || folders.isEmpty() ? target : folders.front();
        *why = templateSpace(fs, *plan, where, copies, style);
    }
    if (!why->isEmpty())
        return std::nullopt;
    return plan;
}

const NotCopied* firstFailure(const TreeCopyResult& copy)
{
    for (const NotCopied& n : copy.notCopied) {
        if (qstrcmp(n.why.code, CopyReason::SpecialCode) != 0)
            return &n;
    }
    return nullptr;
}

QByteArray treeDigest(const QList<TreeEntry>& entries)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const TreeEntry& e : entries) {
        // A folder's own size and time change with what goes in and out: its entries tell.
        const bool folder = e.kind == TreeEntry::Kind::Folder;
        const QByteArray line =
            QByteArray::number(int(e.kind)) + ' ' + QByteArray::number(e.volume) + ' ' +
            QByteArray::number(e.node) + ' ' + QByteArray::number(e.birth) + ' ' +
            QByteArray::number(folder ? 0 : e.size) + ' ' +
            QByteArray::number(folder ? 0 : e.modified) + ' ' + e.path.toUtf8() + '\0';
        hash.addData(line);
    }
    return hash.result().toHex().left(32);
}

bool treeStillAsCopied(FileSystem& fs, const QString& folder, qint64 count,
                       const QByteArray& digest)
{
    const TreeRead now = fs.readTree(folder, qsizetype(count) + 1);
    return now.ok() && now.entries.size() == count && treeDigest(now.entries) == digest;
}
