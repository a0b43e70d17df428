#pragma once

#include <QStringList>

class RunContext;

// What an export writes: the list as written, or expanded.
enum class ExportKind { Raw = 0, Expanded = 1 };

// The lines of a list export, taken one step per line through `context`; false when a cancel
// stopped it, with the lines so far in `out`, which the export still writes.
bool collectListLines(const QStringList& source, RunContext& context, QStringList& out);
