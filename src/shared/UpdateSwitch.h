// The update switch of skinned windows: a flag, not a counter. Nested pairs draw at the
// inner EndUpdate; the outer one then finds drawing on and does nothing.
#pragma once

class TUpdateSwitch {
 public:
  void BeginUpdate() { FUpdate = false; }
  // True when the caller must draw now.
  bool EndUpdate() {
    if (FUpdate) return false;
    FUpdate = true;
    return true;
  }
  // Drawing is off until the window has been created.
  void Created() { FUpdate = true; }
  bool Drawing() const { return FUpdate; }

 private:
  bool FUpdate = false;
};
