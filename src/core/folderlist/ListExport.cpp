#include "ListExport.h"

#include "run/RunContext.h"

bool collectListLines(const QStringList& source, RunContext& context, QStringList& out)
{
    out.reserve(out.size() + source.size());
    for (const QString& line : source) {
        if (context.nextStep())
            return false;
        out << line;
    }
    return true;
}
