#include "reportpage.h"

namespace tq::documents {

QList<int> stripColumns(const QList<qsizetype> &offsets, qsizetype textLength)
{
    Q_UNUSED(offsets);
    Q_UNUSED(textLength);
    return {};
}

QByteArray reportPageBytes(const ReportContent &report)
{
    Q_UNUSED(report);
    return {};
}

} // namespace tq::documents
