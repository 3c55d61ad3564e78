#pragma once

#include <cstdint>
#include <string>

#include "platform/Bytes.h"
#include "platform/metafile/Player.h"

namespace nt::mf {

// Play every record after the header onto the player, stopping at the end record, at the
// first record whose size does not fit, or when the work budget is spent.
void playWmf(Bytes data, Player& player);
void playEmf(Bytes data, Player& player);

// Names for the skipped-record report.
std::string wmfRecordName(std::uint16_t function);
std::string emfRecordName(std::uint32_t type);

}  // namespace nt::mf
