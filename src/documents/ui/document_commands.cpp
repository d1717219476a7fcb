#include "documents/ui/document_commands.h"

#include "app/ui/tfmain1.h"

void registerDocumentCommands(TFmain1 &main)
{
    Q_UNUSED(main);
}
