// The engine's stopwatch and the object that carries the shared 20 ms timer's handler.
#pragma once

#include <cstdint>

#include "vcl/Classes.h"

// A stopwatch on the performance counter. The counter reads the window system's clock,
// so in a test's virtual time a stopwatch sees only the time the test lets pass.
class TgxTimer : public TObject {
  QV_CLASS(TgxTimer, TObject)

  // Reads the counter twice in a row to learn what a reading costs, then the frequency.
  TgxTimer();

  void Start();
  void Stop();
  // Seconds between Start and Stop, less the cost of a reading.
  double Elapsed() const;

  int64_t StartValue = 0;
  int64_t StopValue = 0;

 private:
  int64_t FFrequency = 1;
  int64_t FCalibrate = 0;
};

// Steps every running transition on each tick of the shared timer.
class TgxMultiObject : public TObject {
  QV_CLASS(TgxMultiObject, TObject)

  void DoMultiTimer(TObject* Sender);
};
