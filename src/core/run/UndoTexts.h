#pragma once

#include <QCoreApplication>
#include <QString>

// What the journal and the undo tell the user, in the window's boxes and on the terminal.
namespace UndoText
{

inline QString notRecorded(const QString& journal)
{
    return QCoreApplication::translate(
               "UndoText", "実行の記録を書き込めなかったため、この実行は元に戻せません: %1")
        .arg(journal);
}
inline QString partlyRecorded(const QString& journal)
{
    return QCoreApplication::translate(
               "UndoText", "実行の記録を最後まで書き込めなかったため、この実行は記録された分だけ"
                           "元に戻せます: %1")
        .arg(journal);
}
// The run to take back never ended: what it did after its last record is not known.
inline QString creationInterrupted()
{
    return QCoreApplication::translate("UndoText", "直前の作成は途中で中断されました。");
}
inline QString deletionInterrupted()
{
    return QCoreApplication::translate("UndoText", "直前の削除は途中で中断されました。");
}
inline QString trashRecordedQuestion(qsizetype count)
{
    return creationInterrupted() +
           QCoreApplication::translate(
               "UndoText", "\r\n記録に残っている %1 個のフォルダをごみ箱に移動しますか？")
               .arg(count);
}
inline QString restoreQuestion(qsizetype count, bool interrupted)
{
    if (interrupted)
        return deletionInterrupted() +
               QCoreApplication::translate(
                   "UndoText", "\r\n記録に残っている %1 個のフォルダを元の場所に戻しますか？")
                   .arg(count);
    return QCoreApplication::translate(
               "UndoText", "直前の削除でごみ箱に移動した %1 個のフォルダを元の場所に戻しますか？")
        .arg(count);
}
inline QString stillRunning(bool creation, qint64 pid)
{
    return (creation ? QCoreApplication::translate("UndoText", "直前の作成")
                     : QCoreApplication::translate("UndoText", "直前の削除")) +
           QCoreApplication::translate(
               "UndoText", "はまだ実行中です (プロセス %1)。終わってから元に戻してください。")
               .arg(pid);
}
inline QString newestNotRecorded()
{
    return QCoreApplication::translate("UndoText",
                                       "直前の実行は記録できなかったため、元に戻せません");
}
inline QString nothingToUndo()
{
    return QCoreApplication::translate("UndoText", "元に戻せる作成・削除はありません");
}

} // namespace UndoText
