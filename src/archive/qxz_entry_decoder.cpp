#include "archive/qxz_entry_decoder.h"

#include <memory>

#include "archive/implode/crc32.h"
#include "archive/implode/explode.h"

namespace qxi {
namespace {

// What Explode's callbacks work on while one entry decodes.
struct DecodeState {
  ByteSource* source;
  QxzOutput* output;
  uint64_t data_left;    // entry bytes not yet handed to the decoder
  bool padding_given;    // the zero byte after the data has been handed out
  uint32_t running_crc;  // CRC register, not yet inverted
};

unsigned ReadEntryData(char* buffer, unsigned* size, void* param) {
  auto* state = static_cast<DecodeState*>(param);
  unsigned placed = 0;
  while (state->data_left > 0 && placed < *size) {
    const uint64_t room = *size - placed;
    const size_t wanted = static_cast<size_t>(state->data_left < room ? state->data_left : room);
    const size_t got = state->source->Read(buffer + placed, wanted);
    // A source that ends early ends the data; the decoder then reports the cut stream.
    if (got == 0) state->data_left = 0;
    state->data_left -= got;
    placed += static_cast<unsigned>(got);
  }
  // One zero byte after the data, in the same read when it fits: the decoder needs more than
  // 4 bytes in its first read, and zero bits cannot complete an end code that the data does
  // not already hold.
  if (state->data_left == 0 && !state->padding_given && placed < *size) {
    state->padding_given = true;
    buffer[placed++] = 0;
  }
  return placed;
}

void WriteEntryData(char* buffer, unsigned* size, void* param) {
  auto* state = static_cast<DecodeState*>(param);
  state->output->Write(buffer, *size);
  state->running_crc = Crc32Update(buffer, size, &state->running_crc);
}

}  // namespace

QxzDecodeResult DecodeQxzEntry(ByteSource& source, const QxzEntry& entry, QxzOutput& output) {
  DecodeState state{&source, &output, entry.data_size, false, 0xFFFFFFFFu};
  source.Seek(entry.data_offset);
  auto work_area = std::make_unique<char[]>(kExplodeWorkAreaSize);
  QxzDecodeResult result;
  result.explode_result = Explode(ReadEntryData, WriteEntryData, work_area.get(), &state);
  result.crc = ~state.running_crc;
  source.Seek(entry.next_offset());
  return result;
}

}  // namespace qxi
