#pragma once

#include <QDBusConnection>

#include "ports/Clock.h"

namespace pelorin::lnx {

// The system clock. Setting it asks systemd's time service (org.freedesktop.timedate1)
// on the system bus, which checks whether the user may; the call waits at most two
// seconds, as setting the date is rare and the user waits for its outcome anyway.
class LinuxClock : public ports::Clock {
 public:
  LinuxClock();
  // Talks to the time service on `bus` instead of the system bus.
  explicit LinuxClock(QDBusConnection bus);

  ports::LocalTime Now() const override;
  // False for a date or time that does not exist, and when the bus or the service is
  // missing or refuses.
  bool SetNow(const ports::LocalTime& time) override;

 private:
  QDBusConnection bus_;
};

}  // namespace pelorin::lnx
