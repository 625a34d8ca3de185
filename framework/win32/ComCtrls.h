#pragma once
#include "framework/Collection.h"
#include "framework/win32/Controls.h"

// Common controls: up-down, track bar, status bar with panels, and the page
// control with its tab sheets.
namespace framework {

enum TUDOrientation : uint8_t { udHorizontal, udVertical };
enum TTrackBarOrientation : uint8_t { trHorizontal, trVertical };
enum TTickStyle : uint8_t { tsNone, tsAuto, tsManual };
enum TTickMark : uint8_t { tmBottomRight, tmTopLeft, tmBoth };
enum TTabStyle : uint8_t { tsTabs, tsButtons, tsFlatButtons };
enum TTabPosition : uint8_t { tpTop, tpBottom, tpLeft, tpRight };
const TEnumInfo& TabStyleInfo();
const TEnumInfo& TabPositionInfo();
// The tab window's styles for a look and a side; tabs on the left or right
// stand in columns, which the system draws only with several rows allowed.
[[nodiscard]] DWORD TabWindowStyle(TTabStyle style, TTabPosition position, bool multiLine);
// The area inside a tab window's frame, beside its tabs.
[[nodiscard]] gfx::TRect TabDisplayRect(HWND window, const gfx::TRect& rect);
enum TStatusPanelBevel : uint8_t { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle : uint8_t { psText, psOwnerDraw };

class TUpDown : public TWinControl {
public:
  explicit TUpDown(TComponent* owner);
  ~TUpDown() override;
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // The control (an edit) that shows the position; the up-down sits at its
  // right edge.
  [[nodiscard]] TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* value);
  [[nodiscard]] int Min() const { return min_; }
  void SetMin(int value);
  [[nodiscard]] int Max() const { return max_; }
  void SetMax(int value);
  // Reading takes the value the user typed into the associated edit.
  [[nodiscard]] int Position() const;
  void SetPosition(int value);
  [[nodiscard]] int Increment() const { return increment_; }
  void SetIncrement(int value);
  [[nodiscard]] bool Wrap() const { return wrap_; }
  void SetWrap(bool value) { wrap_ = value; }
  [[nodiscard]] TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation value);
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

private:
  void PlaceBesideAssociate();
  void ShowPositionInAssociate();

  TWinControl* associate_ = nullptr;
  int min_ = 0, max_ = 100;
  mutable int position_ = 0;
  int increment_ = 1;
  bool wrap_ = false;
  TUDOrientation orientation_ = udVertical;
};

class TTrackBar : public TWinControl {
public:
  explicit TTrackBar(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] int Min() const { return min_; }
  void SetMin(int value);
  [[nodiscard]] int Max() const { return max_; }
  void SetMax(int value);
  [[nodiscard]] int Position() const { return position_; }
  // A change of position raises OnChange, whoever made it.
  void SetPosition(int value);
  [[nodiscard]] int PageSize() const { return pageSize_; }
  void SetPageSize(int value);
  [[nodiscard]] int LineSize() const { return lineSize_; }
  void SetLineSize(int value);
  [[nodiscard]] int Frequency() const { return frequency_; }
  void SetFrequency(int value);
  [[nodiscard]] TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation value);
  [[nodiscard]] TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle value);
  [[nodiscard]] TTickMark TickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark value);
  void WndProc(TMessage& message) override;

  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

private:
  void Changed();

  int min_ = 0, max_ = 10, position_ = 0, pageSize_ = 2, lineSize_ = 1, frequency_ = 1;
  TTrackBarOrientation orientation_ = trHorizontal;
  TTickStyle tickStyle_ = tsAuto;
  TTickMark tickMarks_ = tmBottomRight;
};

class TStatusPanel : public TCollectionItem {
public:
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] int Width() const { return width_; }
  void SetWidth(int value);
  [[nodiscard]] std::string Text() const { return text_; }
  void SetText(const std::string& value);
  [[nodiscard]] TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  [[nodiscard]] TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel value);
  // An owner-drawn panel is painted by the bar's OnDrawPanel.
  [[nodiscard]] TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle value);

private:
  int width_ = 50;
  std::string text_;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
  TStatusPanelStyle style_ = psText;
};

class TStatusBar;
using TDrawPanelEvent = TEvent<void(TStatusBar* StatusBar, TStatusPanel* Panel, const gfx::TRect& Rect)>;

class TStatusBar : public TWinControl {
public:
  explicit TStatusBar(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TCollection* Panels() const { return panels_.get(); }
  [[nodiscard]] TStatusPanel* Panel(int index) const { return panels_->ItemAs<TStatusPanel>(index); }
  [[nodiscard]] bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  [[nodiscard]] std::string SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& value);
  [[nodiscard]] bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value);
  // The text the window shows in a panel, as the platform reports it.
  [[nodiscard]] std::string PanelTextShown(int index) const;
  // Valid while OnDrawPanel runs: the panel's rectangle is in the bar's
  // coordinates.
  [[nodiscard]] TCanvas& Canvas() { return PaintCanvas(); }
  // Raises OnDrawPanel with Canvas() answering canvas. The bar's own drawing
  // calls it for owner-drawn panels over their background; whoever else
  // draws the bar calls it the same way.
  void DrawPanel(TStatusPanel* panel, TCanvas& canvas, const gfx::TRect& rect);
  void WndProc(TMessage& message) override;

  TDrawPanelEvent OnDrawPanel;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

private:
  void UpdatePanels();

  std::unique_ptr<TCollection> panels_;
  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
};

class TPageControl;

class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TPageControl* PageControl() const;
  void SetPageControl(TPageControl* control);
  [[nodiscard]] int PageIndex() const;
  void SetPageIndex(int value);
  [[nodiscard]] bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool value);

protected:
  void TextChanged() override;

private:
  bool tabVisible_ = true;
};

class TPageControl : public TWinControl {
public:
  explicit TPageControl(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] int PageCount() const;
  [[nodiscard]] TTabSheet* Pages(int index) const;
  [[nodiscard]] TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);
  [[nodiscard]] int ActivePageIndex() const;
  void SetActivePageIndex(int value);
  [[nodiscard]] TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle value);
  [[nodiscard]] TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition value);
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

  TNotifyEvent OnChange;
  TEvent<void(TObject* Sender, bool& AllowChange)> OnChanging;

protected:
  friend class TTabSheet;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  [[nodiscard]] gfx::TRect AdjustClientRect(gfx::TRect rect) const override;
  void UpdateTabs();
  [[nodiscard]] std::vector<TTabSheet*> Sheets() const;

private:
  TTabSheet* activePage_ = nullptr;
  TTabStyle style_ = tsTabs;
  TTabPosition tabPosition_ = tpTop;
};

} // namespace framework
