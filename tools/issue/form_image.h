#pragma once

#include <string>

#include "issue/issued_quotation.h"

// The form image (PDF) of a quotation: where it is written, what it is
// called, and its filing as an attachment of the quotation, made by the
// same rules as the attachments the entry screen adds, so that its list
// shows the image with them.
namespace velmora {

class DataAccess;

// The form-image folder, or the document folder when none is set.
std::string FormImageFolder(const Letterhead& letterhead);

// "見積書_001_20270331_00000001.pdf" ("見積書仕入情報_…" for the purchase
// view, which is not for the customer); characters a file name cannot hold
// become "_".
std::string FormImageFileName(const QuotationHeader& header, bool purchaseView);

// Files the written image as an attachment of the stored quotation: its row
// in M付属書類 and its copy in the document folder. False with the reason
// in message when either could not be made (nothing of it is left then).
bool FileFormImage(DataAccess& access, const Letterhead& letterhead, const QuotationHeader& header,
                   const std::string& file, const std::string& userId, std::string& message);

}  // namespace velmora
