#pragma once
// What the player window works on, kept apart from the controls that show
// it: the pictures of the folder and which ones are shown, the order of the
// effects, the timing and the layout. The window's handlers change the
// model and then show it; a menu item, a control and a shortcut that mean
// the same thing change the same field.
#include "framework/StringList.h"

#include <cstdint>
#include <string>
#include <vector>

enum TEffectOrder : uint8_t { eoInOrder, eoRandom, eoFixed };

// The three ways of placing a picture that the menu offers by name; any
// other combination of the display's switches is plCustom.
enum TPictureLayout : uint8_t { plCentre, plStretch, plKeepProportion, plCustom };

struct TPictureFit {
  bool Center = true;
  bool Stretch = false;
  bool Proportional = true;
  friend bool operator==(const TPictureFit&, const TPictureFit&) = default;
};

[[nodiscard]] TPictureLayout LayoutOf(const TPictureFit& fit);
// plCustom answers the fit as it is.
[[nodiscard]] TPictureFit FitOf(TPictureLayout layout, const TPictureFit& current);

class TPlayerModel {
public:
  // ----- The pictures -----
  framework::TStringList Files;
  std::string Folder;      // without a trailing backslash
  std::string CurrentFile; // shown by the running or last transition
  std::string NextFile;    // loaded for the next transition; "" when none

  // ----- What the user chose -----
  TEffectOrder Order = eoInOrder;
  int Style = 0; // 0: none chosen yet; else the effect number
  bool Paused = false;
  bool Manual = false;
  int Step = 3;
  int Delay = 30;
  bool ExactTiming = true;
  bool Threaded = true;
  bool OverDraw = true;
  uint32_t DisplayInterval = 1000;
  TPictureFit Fit;
  int BackgroundMode = 1;
  int FrameWidth = 1;
  bool StatusBar = true;
  bool FullScreen = false;

  // The effect of the next transition, by Order: in order the one after
  // Style (the first after none), at random any of them, fixed the same.
  [[nodiscard]] int NextStyle(int styleCount) const;

  // ----- The pictures shown, for going back -----
  // Appends a shown picture; the oldest are forgotten past a limit.
  void Shown(const std::string& name);
  [[nodiscard]] bool CanGoBack() const { return history_.size() >= 2; }
  // Forgets the picture shown last and answers the one before it, which is
  // then the last; "" when there is none.
  std::string GoBack();
  [[nodiscard]] const std::vector<std::string>& History() const { return history_; }
  // A new folder starts a new history.
  void ForgetHistory() { history_.clear(); }

private:
  std::vector<std::string> history_;
};
