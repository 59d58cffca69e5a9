#pragma once

#include <string_view>

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

inline constexpr std::string_view kInsertFailedMessage = "登録済です。登録できませんでした。";
inline constexpr std::string_view kDeleteFailedMessage = "既に削除されています。削除できませんでした。";
inline constexpr std::string_view kLinkFailedMessage = "既に削除されています。修正できませんでした。";

// Sets the status with the message that belongs to it (empty for a success).
void SetSaveStatus(Quotation& quotation, int status);

// Sets the success status, or the failure status with its message; returns ok.
bool Outcome(Quotation& quotation, bool ok, int success, int failure);

}  // namespace velmora
