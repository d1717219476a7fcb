#include "finance/ui/document_viewers.h"

namespace DocumentViewers {

namespace {
Opener &opener()
{
    static Opener o;
    return o;
}
} // namespace

void setOpener(Opener o) { opener() = std::move(o); }

bool open(const QString &table, const QString &dh, const QStringList &listedDhs)
{
    if (!opener()) return false;
    opener()(table, dh, listedDhs);
    return true;
}

} // namespace DocumentViewers
