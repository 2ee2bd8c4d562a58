#pragma once

#include <QString>

#include <cstdint>

// How the printer properties dialog tells the printer's engine type from its model details.
namespace console {

inline constexpr int kEngineOffice = 1;
inline constexpr int kEngineCompact = 2;
inline constexpr int kEngineExternal = 3;
inline constexpr int kEngineCustomPaper = 4;

// 4 for the model "7171"; 2 for firmware dated 21 June 1999 or earlier, and for a version text
// without a date ("V1.0 MM/DD/YYYY" carries one behind its first blank); 0 when the type word
// decides.
int EngineTypeByModel(const QString& model, const QString& version);
// The type the type word's high byte names; 0 for a word of no known type.
int EngineTypeByWord(std::int32_t word);

}  // namespace console
