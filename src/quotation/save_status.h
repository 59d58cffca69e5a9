#pragma once

#include <string>
#include <string_view>

#include "data/connection.h"
#include "quotation/quotation_model.h"

// SaveStatus and SaveMessage: every statement of a save or delete leaves its
// outcome in the model, and the screen reads the last one.
namespace velmora {

inline constexpr int kStatusInserted = 1;
inline constexpr int kStatusInsertFailed = 3;
inline constexpr int kStatusLinkFailed = 4;
inline constexpr int kStatusLinked = 5;
inline constexpr int kStatusDeleteFailed = 6;
inline constexpr int kStatusDeleted = 7;
// A change or delete found the stored quotation changed or deleted by someone
// else since it was loaded: nothing was written, the model is as it was, and
// the quotation can be opened again or saved as a new one.
inline constexpr int kStatusChangedMeanwhile = 8;
// A delete, or a change that moves the quotation to another number, found a
// billing, delivery or order row naming it: nothing was written. SaveMessage
// is the follow-up text ("請求済です。") with the refusal.
inline constexpr int kStatusFollowedUp = 9;
// The database refused the save or delete for a reason of its own (locked by
// another program, disk full, read-only, server gone): nothing was written,
// the model is as it was, and SaveMessage says what happened and what to do
// before trying again.
inline constexpr int kStatusDatabaseFault = 10;

inline constexpr std::string_view kInsertFailedMessage = "登録済です。登録できませんでした。";
inline constexpr std::string_view kDeleteFailedMessage = "既に削除されています。削除できませんでした。";
inline constexpr std::string_view kLinkFailedMessage = "既に削除されています。修正できませんでした。";
inline constexpr std::string_view kChangedMeanwhileMessage =
    "他の担当者が修正または削除したため登録できませんでした。見積を開き直すか、新しい見積として登録してください。";
inline constexpr std::string_view kDeletedMeanwhileMessage =
    "他の担当者が修正または削除したため削除できませんでした。見積を開き直してください。";

// A COMMIT went unanswered and the server could not be asked whether it was
// stored: the next save or delete finds out before it writes anything.
std::string UnconfirmedMessage(std::string_view action);

// The message of an action ("登録", "削除", "表示") that failed on the fault.
std::string DatabaseFaultMessage(DbFault fault, std::string_view action);

// Sets the status with the message that belongs to it (empty for a success).
void SetSaveStatus(Quotation& quotation, int status);

// Sets the success status, or the failure status with its message; returns ok.
bool Outcome(Quotation& quotation, bool ok, int success, int failure);

}  // namespace velmora
