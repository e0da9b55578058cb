#include "alarms/RingService.h"

#include <algorithm>
#include <utility>

#include "core/CoreContext.h"
#include "core/CoreHotkeys.h"

namespace pelorin {
namespace {

constexpr char kStopKeyAtom[] = "PELN_REM";

}  // namespace

RingService::RingService(CoreContext& ctx, CoreHotkeys& hotkeys)
    : ctx_(ctx),
      hotkeys_(hotkeys),
      ringPlayer_(ctx.ports.sound.CreatePlayer("ring")),
      chimePlayer_(ctx.ports.sound.CreatePlayer("chime")),
      beepTimer_(
          ctx.ports.timers.Create("PCBeepTimer", kFirstBeepMs, [this] { PCBeepTimerTimer(); })) {}

void RingService::PrepareSound(std::string file, ports::Repeat repeat) {
  file_ = std::move(file);
  repeat_ = repeat;
}

void RingService::StartRing() {
  BeepDuration = std::min(BeepDuration, kLongestBeepMs);
  // A file that cannot be played plays nothing (never a default sound); the beeper and
  // the stop key still follow the ring.
  if (UseSoundCard) ringPlayer_->Play(file_, repeat_);
  if (UsePcSpeaker && BeepAllowed && !beepTimer_->Enabled()) beepTimer_->SetEnabled(true);
  // The stop key lives only while something rings.
  hotkeys_.RegisterOne(kStopKeyAtom, hotkeys_.Keys().Reminder);
  ctx_.view.SetTrayRinging(true);
  const bool wasRinging = std::exchange(ringing_, true);
  if (!wasRinging) changed();
}

void RingService::StopRing() {
  hotkeys_.UnregisterOne(kStopKeyAtom);
  ringPlayer_->Stop();
  beepCount_ = 0;
  beepTimer_->SetEnabled(false);
  ctx_.view.SetTrayRinging(false);
  if (std::exchange(ringing_, false)) changed();
}

void RingService::PCBeepTimerTimer() {
  beepTimer_->SetInterval(beepCount_ < 3 ? kBeepGapMs : kBeepGroupGapMs);
  ctx_.ports.sound.Tone(BeepFrequency, BeepDuration);
  beepCount_ = (beepCount_ + 1) % 4;
}

}  // namespace pelorin
