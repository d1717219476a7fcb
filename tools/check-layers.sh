#!/bin/sh
# Business logic never reaches for a window: fails when a file of a core folder (src/<folder>/
# outside its ui/, and outside app/widgets) includes a Qt Gui, Widgets or PrintSupport header.
# Usage: check-layers.sh SOURCE_DIR QT_INCLUDE_DIR
src=$1; qt=$2; bad=0
for f in $(find "$src/src" -name '*.h' -o -name '*.cpp' | grep -v -e '/ui/' -e '/app/widgets/' -e '/src/main.cpp$'); do
  for inc in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p' "$f"); do
    name=${inc##*/}
    for mod in QtGui QtWidgets QtPrintSupport; do
      if [ -e "$qt/$mod/$name" ] && { [ "$inc" = "$name" ] || [ "${inc%%/*}" = "$mod" ]; }; then
        echo "$f includes <$inc> ($mod): windows belong in ui/"; bad=1
      fi
    done
  done
done
[ $bad -eq 0 ] && echo "core folders include no window headers"
exit $bad
