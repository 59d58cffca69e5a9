#pragma once

#include <span>
#include <string>
#include <vector>

#include "issue/issue_document.h"

class QPagedPaintDevice;

// The three outputs of the issuing program: the default printer, the print
// preview, and the form image (PDF) filed as an attachment of the quotation.
namespace velmora {

class DataAccess;
struct IssueJob;

// Every document on the device, each starting on a page of its own.
bool PaintDocuments(QPagedPaintDevice& device, std::span<const IssueDocument> documents,
                    std::string& problem);

// One document as an A4 PDF file.
bool WritePdf(const std::string& path, const IssueDocument& document, std::string& problem);

// On the default printer; refused when there is none.
bool PrintDocuments(const std::vector<IssueDocument>& documents, std::string& problem);

// In the print preview window, from which the user may print; needs a display.
bool PreviewDocuments(const std::vector<IssueDocument>& documents, std::string& problem);

// Each quotation's PDF into the form-image folder, registered as its
// attachment; the files written, in order. A file whose registration fails
// is removed again.
bool IssueFormImages(DataAccess& access, const IssueJob& job, std::vector<std::string>& files,
                     std::string& problem);

}  // namespace velmora
