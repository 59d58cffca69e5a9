#include "quotation/save_status.h"

namespace velmora {

void SetSaveStatus(Quotation& quotation, int status) {
    quotation.SaveStatus = status;
    switch (status) {
        case kStatusInsertFailed: quotation.SaveMessage = kInsertFailedMessage; break;
        case kStatusDeleteFailed: quotation.SaveMessage = kDeleteFailedMessage; break;
        case kStatusLinkFailed: quotation.SaveMessage = kLinkFailedMessage; break;
        case kStatusChangedMeanwhile: quotation.SaveMessage = kChangedMeanwhileMessage; break;
        default: quotation.SaveMessage.clear(); break;
    }
}

bool Outcome(Quotation& quotation, bool ok, int success, int failure) {
    SetSaveStatus(quotation, ok ? success : failure);
    return ok;
}

}  // namespace velmora
