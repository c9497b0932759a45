#include "devices/LightFrame.h"

void CLightFrame::Resize(int count) {
  count_ = count > 0 ? count : 0;
  entries_ = count_ > 0 ? std::make_unique<std::atomic<uint32_t>[]>(static_cast<size_t>(count_)) : nullptr;
  for (int i = 0; i < count_; ++i) entries_[i].store(0, std::memory_order_relaxed);
}

void CLightFrame::Set(int index, LightFrameEntry entry) { SetPacked(index, entry.Packed()); }

void CLightFrame::SetPacked(int index, uint32_t packed) {
  if (index < 0 || index >= count_) return;
  entries_[index].store(packed, std::memory_order_relaxed);
}

LightFrameEntry CLightFrame::Get(int index) const { return LightFrameEntry::FromPacked(GetPacked(index)); }

uint32_t CLightFrame::GetPacked(int index) const {
  if (index < 0 || index >= count_) return 0;
  return entries_[index].load(std::memory_order_relaxed);
}

void CLightFrame::Fill(LightFrameEntry entry) {
  const uint32_t packed = entry.Packed();
  for (int i = 0; i < count_; ++i) entries_[i].store(packed, std::memory_order_relaxed);
}
