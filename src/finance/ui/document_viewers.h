// "查单" in the payables and receivables opens the viewer of the purchase or sales document.
// The viewers belong to the trade documents; the program plugs them in here at start-up.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace DocumentViewers {

// `table` is the header table of the document ("cgglz" purchase, "xsglz" sales), `dh` the
// document to show, `listedDhs` the numbers the list shows, in its order, for the viewer to
// walk.
using Opener = std::function<void(const QString &table, const QString &dh, const QStringList &listedDhs)>;
void setOpener(Opener opener);
// Opens the viewer; false (and nothing shown) while no viewer is plugged in.
bool open(const QString &table, const QString &dh, const QStringList &listedDhs);

} // namespace DocumentViewers
