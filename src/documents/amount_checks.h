// What a document must satisfy before it is held, approved or printed: the kind's required
// header fields, at least one line, and for purchases and sales the sign rules of discount,
// payable and paid. The first rule that fails is the refusal the window shows.
#pragma once

#include "app/refusal.h"
#include "documents/document.h"

#include <optional>

namespace AmountChecks {

// Saving: required fields in the kind's order, then the lines, then the amounts.
std::optional<Refusal> beforeSave(const DocumentKind &kind, const DocumentHeader &header, int lineCount);
// Printing from the entry window: the same from the lines on.
std::optional<Refusal> beforePrint(const DocumentKind &kind, const DocumentHeader &header, int lineCount);

} // namespace AmountChecks
