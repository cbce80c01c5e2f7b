#pragma once
// Misuse of a grid operation. The texts are the system's own and reach the user unchanged.
#include "platform/core/errors.h"

class EInvalidGridOperation : public core::Exception {
  public:
    using core::Exception::Exception;
};

namespace grid {

inline constexpr const char* kIndexOutOfRange =
    "Gitterindex au\xDF"
    "erhalb des zul\xE4ssigen Bereichs";
inline constexpr const char* kGridTooLarge = "Gitter zu gro\xDF f\xFCr Operation";
inline constexpr const char* kTooManyDeleted = "Zu viele Zeilen oder Spalten gel\xF6scht";
inline constexpr const char* kFixedColsTooLarge =
    "Die Anzahl fester Spalten mu\xDF kleiner sein als die Spaltenanzahl";
inline constexpr const char* kFixedRowsTooLarge =
    "Die Anzahl fester Zeilen mu\xDF kleiner sein als die Zeilenanzahl";
inline constexpr const char* kCannotInsertDelete =
    "Es k\xF6nnen keine Zeilen des 'Grids' gel\xF6scht oder eingef\xFCgt werden";
// The list-index error of a sparse list; %d is the index.
inline constexpr const char* kListIndexError =
    "Der Index der Liste \xFC"
    "berschreitet das Maximum (%d)";

// Size lists never hold more entries than this.
inline constexpr int32_t kMaxListSize = 134217725;

[[noreturn]] inline void RaiseGridError(const char* text) {
    throw EInvalidGridOperation(text);
}

}  // namespace grid
