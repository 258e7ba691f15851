// "Playback Dialog": the day in the date picker, the loaded file and its
// status, the slider over the file's records (32-bit, the page in memory as
// its selection), the transport buttons, Export CSV and Close. The records
// themselves are shown by the main window.

// The common controls need Windows' own header first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "logging/playback_form.h"
#include "win32/dialog_ids.h"
#include "win32/form_views.h"

namespace vs {
namespace {

static_assert(IDD_PLAYBACK == PlaybackForm::kTemplateId);

// Enabled together once a file with records is loaded.
constexpr std::array<int, 6> kTransport = {IDC_PLAYBACK_PLAY,    IDC_PLAYBACK_STOP,
                                           IDC_PLAYBACK_REVERSE, IDC_PLAYBACK_PAUSE,
                                           IDC_PLAYBACK_FORWARD, IDC_PLAYBACK_EXPORT};

class PlaybackView : public FormDialog, private ExportProgress {
 public:
  explicit PlaybackView(PlaybackForm& form) : FormDialog(form), form_(form) {
    // The date picker's class, which the program does not register at start.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
    form_.setExportProgress(this);
  }
  ~PlaybackView() override { form_.setExportProgress(nullptr); }

 protected:
  void setUp() override {
    SendMessageW(control(IDC_PLAYBACK_DATE), DTM_SETFORMATW, 0,
                 reinterpret_cast<LPARAM>(L"yyyy'_'M'_'d"));
  }

  void refresh() override {
    if (shownDate() != form_.date) {
      SYSTEMTIME day{};
      day.wYear = static_cast<WORD>(form_.date.year);
      day.wMonth = static_cast<WORD>(form_.date.month);
      day.wDay = static_cast<WORD>(form_.date.day);
      SendMessageW(control(IDC_PLAYBACK_DATE), DTM_SETSYSTEMTIME, GDT_VALID,
                   reinterpret_cast<LPARAM>(&day));
    }
    showText(IDC_PLAYBACK_PATH, form_.pathText);
    showText(IDC_PLAYBACK_STATUS, form_.status);
    showSlider();
    for (int id : kTransport) EnableWindow(control(id), form_.transportEnabled);
  }

  bool command(int id, int code) override {
    if (code != BN_CLICKED) return false;
    switch (id) {
      case IDC_PLAYBACK_OPEN: act([this] { form_.OpenLogFile(); }); return true;
      case IDC_PLAYBACK_PLAY: act([this] { form_.play(); }); return true;
      case IDC_PLAYBACK_STOP: act([this] { form_.stop(); }); return true;
      case IDC_PLAYBACK_REVERSE: act([this] { form_.fastReverse(); }); return true;
      case IDC_PLAYBACK_PAUSE: act([this] { form_.pause(); }); return true;
      case IDC_PLAYBACK_FORWARD: act([this] { form_.fastForward(); }); return true;
      case IDC_PLAYBACK_EXPORT: act([this] { form_.exportCsv(); }); return true;
      default: return false;
    }
  }

  bool otherMessage(UINT message, WPARAM, LPARAM lParam) override {
    if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == control(IDC_PLAYBACK_SLIDER)) {
      // The position as the slider holds it: the message carries only 16 bits.
      const auto position =
          static_cast<std::int32_t>(SendMessageW(control(IDC_PLAYBACK_SLIDER), TBM_GETPOS, 0, 0));
      if (position != form_.slider.position) act([this, position] { form_.sliderMoved(position); });
      return true;
    }
    if (message != WM_NOTIFY) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_PLAYBACK_SLIDER && header->code == NM_CUSTOMDRAW) {
      SetWindowLongPtrW(handle(), DWLP_MSGRESULT,
                        drawSlider(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam)));
      return true;
    }
    if (header->idFrom != IDC_PLAYBACK_DATE || header->code != DTN_DATETIMECHANGE) return false;
    const LocalDate picked = shownDate();
    if (picked != form_.date) act([this, picked] { form_.date = picked; });
    return true;
  }

 private:
  LocalDate shownDate() const {
    SYSTEMTIME day{};
    SendMessageW(control(IDC_PLAYBACK_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&day));
    return {day.wYear, day.wMonth, day.wDay};
  }

  // The slider is set only when the form's has changed, and then repainted
  // once as a whole: it repaints no more than its thumb by itself.
  void showSlider() {
    const PlaybackSlider& s = form_.slider;
    if (shownSlider_ == s) return;
    HWND slider = control(IDC_PLAYBACK_SLIDER);
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, s.minimum);
    SendMessageW(slider, TBM_SETRANGEMAX, FALSE, s.maximum);
    // Ticks at the two ends only; the slider takes no frequency below one.
    SendMessageW(slider, TBM_SETTICFREQ, static_cast<WPARAM>(std::max(s.tickFrequency, 1)), 0);
    SendMessageW(slider, TBM_SETPAGESIZE, 0, std::max(1, (s.maximum - s.minimum) / 5));
    SendMessageW(slider, TBM_SETSELSTART, FALSE, s.selectionFirst);
    SendMessageW(slider, TBM_SETSELEND, FALSE, s.selectionLast);
    SendMessageW(slider, TBM_SETPOS, FALSE, s.position);
    EnableWindow(slider, s.enabled);
    InvalidateRect(slider, nullptr, TRUE);
    shownSlider_ = s;
  }

  // The page in memory as a band along the slider's channel, drawn over it:
  // a themed slider shows no selection of its own.
  LRESULT drawSlider(const NMCUSTOMDRAW& draw) const {
    if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.dwItemSpec != TBCD_CHANNEL) return CDRF_DODEFAULT;
    if (draw.dwDrawStage == CDDS_ITEMPREPAINT) return CDRF_NOTIFYPOSTPAINT;
    const PlaybackSlider& s = form_.slider;
    if (draw.dwDrawStage != CDDS_ITEMPOSTPAINT || s.selectionLast <= s.selectionFirst) {
      return CDRF_DODEFAULT;
    }
    // The thumb's centre runs from half its width inside either end.
    RECT thumb{};
    SendMessageW(control(IDC_PLAYBACK_SLIDER), TBM_GETTHUMBRECT, 0,
                 reinterpret_cast<LPARAM>(&thumb));
    const long long inset = (thumb.right - thumb.left) / 2;
    const long long run = draw.rc.right - draw.rc.left - 2 * inset;
    const long long range = std::max<long long>(1, s.maximum - s.minimum);
    const auto place = [&](std::int32_t position) {
      return static_cast<LONG>(draw.rc.left + inset + run * (position - s.minimum) / range);
    };
    const LONG thickness = (draw.rc.bottom - draw.rc.top) / 3;
    const RECT band{place(s.selectionFirst), draw.rc.top + thickness, place(s.selectionLast) + 1,
                    draw.rc.bottom - thickness};
    FillRect(draw.hdc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
    return CDRF_DODEFAULT;
  }

  // A running CSV export counts its records in the status line.
  bool update(std::int64_t done, std::int64_t total) override {
    showText(IDC_PLAYBACK_STATUS,
             "Writing record " + std::to_string(done) + " of " + std::to_string(total));
    UpdateWindow(control(IDC_PLAYBACK_STATUS));
    return true;
  }
  void finish() override { showText(IDC_PLAYBACK_STATUS, form_.status); }

  PlaybackForm& form_;
  std::optional<PlaybackSlider> shownSlider_;
};

}  // namespace

VS_FORM_VIEW(109, PlaybackView, PlaybackForm);

}  // namespace vs
