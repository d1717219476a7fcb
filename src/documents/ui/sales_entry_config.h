// What the retail counter and the wholesale desk share and where they differ: one sales entry
// mechanism with two configurations.
#pragma once

#include "documents/ui/document_entry_window.h"

EntryWindowConfig salesEntryConfig(DocType type);   // DocType::Retail or DocType::Wholesale
