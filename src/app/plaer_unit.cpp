#include "app/plaer_unit.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <optional>

#include "app/info_macros.h"
#include "app/meter_display.h"
#include "app/meter_tick.h"
#include "app/tray.h"
#include "base/paths.h"
#include "base/text.h"
#include "playlist/splaylist.h"
#include "plugins/edstudio_unit.h"
#include "settings/init_form.h"
#include "plugins/vl_decoder.h"
#include "win/files.h"

namespace {

constexpr int kFaceWidth = 358;  // the big face, until the skin sizes the window
constexpr int kFaceHeight = 234;
constexpr UINT_PTR kHintTimer = 1;
// Sent by the last-chance filter when a plugin's own thread faulted.
constexpr UINT kPluginThreadFault = WM_APP + 0x100;
// How long a stopping plugin may keep the player from closing.
constexpr DWORD kStopLimitAtExitMs = 2000;

TQELAmp_Player* g_player = nullptr;

}  // namespace

TQELAmp_Player::TQELAmp_Player(HINSTANCE instance, std::string arg)
    : instance_(instance), arg_(std::move(arg)) {}

TQELAmp_Player::~TQELAmp_Player() = default;

bool TQELAmp_Player::create() {
    HICON icon = LoadIconA(instance_, MAKEINTRESOURCEA(1));
    const win::WindowClass wc{kClassName, CS_DBLCLKS | CS_OWNDC, nullptr,
                              icon ? icon : LoadIcon(nullptr, IDI_APPLICATION)};
    return create_window(instance_, wc, 0, PlayerCore::kVersionCaption,
                         WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT,
                         kFaceWidth, kFaceHeight, nullptr);
}

void TQELAmp_Player::show() {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
}

LRESULT TQELAmp_Player::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_SHOWWINDOW:
            if (wp && !shown_) {
                shown_ = true;
                FormShow();
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) FormActivate();
            break;
        case WM_SIZE:
            // The playlist and the other owned windows go and come back with the face.
            if (wp == SIZE_MINIMIZED) ShowOwnedPopups(hwnd_, FALSE);
            if (wp == SIZE_RESTORED) ShowOwnedPopups(hwnd_, TRUE);
            break;
        case WM_PAINT:
            FormPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_NCHITTEST: {
            LRESULT hit = default_message(msg, wp, lp);
            if (hit != HTCLIENT) return hit;
            if (!layout_) return HTCAPTION;  // a plain face drags everywhere
            POINT p = win::point_of(lp);
            ScreenToClient(hwnd_, &p);
            return layout_->drags_window(p.x, p.y) ? HTCAPTION : HTCLIENT;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // a quick second click is one more press
            if (layout_) face_mouse_down(win::point_of(lp).x, win::point_of(lp).y);
            return 0;
        case WM_MOUSEMOVE:
            if (layout_)
                face_mouse_move(win::point_of(lp).x, win::point_of(lp).y, (wp & MK_LBUTTON) != 0);
            return 0;
        case WM_LBUTTONUP:
            if (layout_) face_mouse_up(win::point_of(lp).x, win::point_of(lp).y, false);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            if (layout_ && !pressed_ && GetCapture() != hwnd_) {
                const POINT p = win::point_of(lp);
                if (layout_->button_at(p.x, p.y)) face_button_press(p.x, p.y);
            }
            return 0;
        case WM_RBUTTONUP:
            if (layout_) {
                const POINT p = win::point_of(lp);
                const FaceButtonTile* b = layout_->button_at(p.x, p.y);
                if (b && face_command(b->id, true) != Command::None) {
                    face_mouse_up(p.x, p.y, true);
                    return 0;
                }
                if (pressed_) {  // released off the button: no action, the menu instead
                    pressed_ = nullptr;
                    if (GetCapture() == hwnd_) ReleaseCapture();
                    compose_face();
                }
            }
            break;
        case WM_TIMER:
            if (wp == kHintTimer) hint_timerTimer();
            return 0;
        case WM_ACTIVATEAPP:
            // The meter runs only while the player is the active application.
            app_active_ = wp != FALSE;
            if (app_active_) last_tick_ = GetTickCount();
            // Another program may have put its windows above ours.
            if (settings_.Always_on_top) setontop();
            break;
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == SC_RESTORE && settings_.Always_on_top) {
                const LRESULT r = default_message(msg, wp, lp);
                setontop();
                return r;
            }
            break;
        case WM_NCACTIVATE: {
            const LRESULT r = default_message(msg, wp, lp);
            window_active_ = wp != 0;
            if (layout_) compose_face();
            return r;
        }
        case WM_NCRBUTTONUP:
        case WM_CONTEXTMENU:
            show_menu(win::point_of(lp));
            return 0;
        case WM_COMMAND: {
            POINT at;
            GetCursorPos(&at);
            if (run_command(static_cast<Command>(LOWORD(wp)), at)) return 0;
            break;
        }
        case WM_KEYDOWN: {
            const Command c = main_window_key(static_cast<unsigned>(wp));
            if (c != Command::None) run_command(c, POINT{});
            return 0;
        }
        case WM_CLOSE:
            closeplayer();
            DestroyWindow(hwnd_);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends after this returns: shut down as at a normal exit now.
            if (wp) {
                closeplayer();
                DestroyWindow(hwnd_);
            }
            return 0;
        case kPluginThreadFault:
            plugin_thread_fault(last_chance::taken());
            return 0;
        case WM_DESTROY:
            FormDestroy();
            PostQuitMessage(0);
            return 0;
        default:
            if (is_tray_message(msg)) {
                const LRESULT r = default_message(msg, wp, lp);
                tray_message(msg, lp);
                return r;
            }
            // Explorer started again: its notification area is empty.
            if (taskbar_created_ && msg == taskbar_created_) {
                const std::array<bool, 9> shown = tray_shown_;
                for (size_t i = 0; i < shown.size(); ++i)
                    if (shown[i]) add_tray(i);
                return 0;
            }
            break;
    }
    return default_message(msg, wp, lp);
}

void TQELAmp_Player::FormCreate() {
    own_dc_ = std::make_unique<win::WindowDC>(hwnd_);
    info_font_.reset(CreateFontA(12, 4, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH, "MS Serif"));
    skin_name_ = "Default";
    std::srand(static_cast<unsigned>(GetTickCount()));
    loader_.set_app_window(hwnd_);
    plugins_ = std::make_unique<TQEL_plugin>(loader_, boxes_);

    SYSTEMTIME now;
    GetLocalTime(&now);
    core_.folders =
        FolderValues::compute(module_path(), temp_folder(), now.wHour, now.wMinute, now.wSecond);
    core_.console.clear();
    core_.started_from_playlist = false;

    plugins_->SetPluginFolder(core_.folders.plugins);
    plugins_->SetCodecsFolder(core_.folders.codecs);
    plugins_->ScanPlugins();
    plugins_->Studios.LoadStudios();
    rebuild_studio_menu();

    binding_ = std::make_unique<RegistryBinding>(plugins_->Decoders);
    PlaybackView& view = *this;
    TickSource& ticks = *this;
    playback_ = std::make_unique<PlaybackControl>(*binding_, view, ticks);
    np_files_ = std::make_unique<NowPlayingFiles>(
        settings_.dos, settings_.win, np_output_,
        [this](const std::string& tpl) { return playback_->expandinfo(tpl); });
    load_player_settings();
    loadskin("Default", settings_.Max);
    taskbar_created_ = RegisterWindowMessageA("TaskbarCreated");
    add_trays();
    g_player = this;
    last_chance::install(hwnd_, kPluginThreadFault, &TQELAmp_Player::emergency);
}

std::vector<std::string> TQELAmp_Player::effect_names() const {
    return find_file_names(core_.folders.effects_mask);
}

void TQELAmp_Player::load_player_settings() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const ScreenArea screen{GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
    load_settings(store_, settings_, screen, r.right - r.left);
    SetWindowPos(hwnd_, nullptr, settings_.FaceX, settings_.FaceY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    list_show_ = settings_.List_show;

    PlaybackControl& pc = *playback_;
    pc.restore_volume(settings_.volume);
    pc.last_folder = settings_.Dialog_OS;
    pc.filter = plugins_->Decoders.FilterString;
}

void TQELAmp_Player::save_player_settings() {
    RECT r;
    settings_.List_show = list_ ? list_->visible() : list_show_;
    if (playlist_ && GetWindowRect(playlist_, &r)) {
        settings_.ListX = r.left;
        settings_.ListY = r.top;
        settings_.ListW = r.right - r.left;
        settings_.ListH = r.bottom - r.top;
    }
    if (GetWindowRect(hwnd_, &r)) {
        settings_.FaceX = r.left;
        settings_.FaceY = r.top;
    }
    settings_.volume = playback_->volume;
    settings_.Dialog_OS = playback_->last_folder;
    if (list_ && !list_->explorer_folder().empty()) settings_.Explorer = list_->explorer_folder();
    save_settings(store_, settings_);
}

void TQELAmp_Player::FormShow() {
    // The skin and the hover texts come with the face; until then the face is drawn plainly.
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TQELAmp_Player::FormActivate() {
    if (!core_.first_activation) return;
    core_.activate(arg_, list_show_, *this);
    if (settings_.Always_on_top) setontop();
}

void TQELAmp_Player::closeplayer() {
    if (closed_) return;
    closed_ = true;
    // A plugin that does not stop must not hold up the exit.
    last_chance::set_watch_limit(kStopLimitAtExitMs);
    playback_->shutdown();
    save_user_state();
    remove_trays();
}

void TQELAmp_Player::save_user_state() {
    save_player_settings();
    plugins_->Studios.SaveStudios();
    now_playing(NowPlaying::Closed);
}

// "The plugin <file>" for a module that is one of the decoder plugins, else "".
std::string TQELAmp_Player::plugin_name(const char* module) const {
    for (const std::string& name : plugins_->Decoders.FileNames)
        if (equals_nocase(name, module)) return "The plugin " + name;
    return {};
}

void TQELAmp_Player::plugin_thread_fault(const std::string& module) {
    plugins_->Decoders.Abandon(module);
    std::string who = plugin_name(module.c_str());
    if (who.empty()) who = "A plugin";
    MessageBoxA(
        hwnd_,
        (who + " failed on a thread of its own. VELTRona saves its settings and closes.").c_str(),
        "Error", MB_OK | MB_ICONERROR);
    closeplayer();
    DestroyWindow(hwnd_);
}

// Runs on whichever thread found the player beyond help, while the main thread
// may be stuck inside a plugin: it saves without calling any plugin. The tray
// icons go with the process (removing them waits on the stuck window).
void TQELAmp_Player::emergency(last_chance::Reason reason, const char* module) {
    TQELAmp_Player* p = g_player;
    if (!p) return;
    const bool closing = p->closed_;
    p->closed_ = true;
    p->save_user_state();
    if (p->initial_) p->initial_->save_settings();
    delete_working_folder(p->core_.folders.working);
    if (closing && reason == last_chance::Reason::Hang) return;  // the user asked to close
    const std::string who = p->plugin_name(module);
    std::string text;
    if (reason == last_chance::Reason::Hang)
        text = (who.empty() ? "A plugin" : who) + " stopped answering.";
    else if (!who.empty())
        text = who + " failed.";
    else
        text = "VELTRona met an error it cannot recover from.";
    text += " VELTRona has saved its settings and closes.";
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void TQELAmp_Player::FormDestroy() {
    delete_working_folder(core_.folders.working);
    studio_menu_ = MenuModel();
    // The registry stays until the player object goes, after the message loop:
    // a long playlist loop may still be inside a message pump now.
    own_dc_.reset();
}

void TQELAmp_Player::FormPaint() {
    win::PaintDC dc(hwnd_);
    if (layout_) {
        paint_face(dc);
        return;
    }
    win::fill_rect(dc, RECT{0, 0, kFaceWidth, kFaceHeight}, RGB(38, 44, 56));
    win::fill_rect(dc, RECT{0, 0, kFaceWidth, 16}, RGB(64, 84, 120));
    const RECT panel{8, 24, kFaceWidth - 8, kFaceHeight - 8};
    FillRect(dc, &panel, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    SetBkMode(dc, TRANSPARENT);
    win::Selected font(dc, GetStockObject(DEFAULT_GUI_FONT));
    char caption[256];
    GetWindowTextA(hwnd_, caption, sizeof caption);
    SetTextColor(dc, RGB(230, 236, 245));
    RECT cap{6, 1, kFaceWidth - 70, 15};
    DrawTextA(dc, caption, -1, &cap, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (!time_text_.empty()) {
        RECT tr{kFaceWidth - 70, 1, kFaceWidth - 2, 15};
        DrawTextA(dc, time_text_.c_str(), -1, &tr, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    }
    SetTextColor(dc, RGB(96, 230, 120));
    int y = 28;
    for (const std::string& line : core_.console) {
        if (y > panel.bottom - 14) break;
        RECT lr{panel.left + 4, y, panel.right - 4, y + 14};
        DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &lr,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        y += 14;
    }
}

bool TQELAmp_Player::file_exists(const std::string& path) {
    return FileExists(path);
}

void TQELAmp_Player::play_media(const std::string& path) {
    if (path.empty()) return;
    playback_->started_from_playlist = false;
    playback_->loadfile(path);
    playback_->playfile();
}

void TQELAmp_Player::play_vl2_list(const std::string& path) {
    list_->play_list(path, 1);
}

void TQELAmp_Player::play_m3u_list(const std::string& path) {
    list_->play_list(path, 2);
}

void TQELAmp_Player::load_default_playlist(const std::string& path) {
    list_->lists().open_list(path, 1);
}

void TQELAmp_Player::new_list() {
    list_->lists().lst_men_newClick();
}

void TQELAmp_Player::console_changed() {
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TQELAmp_Player::show_playlist(bool visible) {
    if (list_) {
        list_->apply_columns(dialog_);
        list_->set_visible(visible);
    }
}

int TQELAmp_Player::idle() {
    if (!meter_on_ || !app_active_) return -1;
    const DWORD t = GetTickCount();
    if (t - last_tick_ >= static_cast<DWORD>(dialog_.refresh_time)) {
        last_tick_ = t;
        DXmetertimerTimer();
    }
    return dialog_.sleep_time;
}

// The meter timer's tick: state, clock and fades; the time text follows the
// clock and is blanked when the track has ended.
void TQELAmp_Player::DXmetertimerTimer() {
    const SharedFileInfo one_fetch(*playback_);
    const TickResult r = playback_->tick();
    show_indicators(r.state);
    switch (meter_step(r.state)) {
        case MeterStep::EndOfTrack:
            blank_displays();
            return;
        case MeterStep::NoAnswer:
            now_playing(NowPlaying::Stopped);
            return;
        case MeterStep::Wait:
            return;
        case MeterStep::Show:
            break;
    }
    displays_blank_ = false;
    now_playing(NowPlaying::PlayingTick);
    playback_->follow_clock();
    const std::string time_before = time_text_;
    const unsigned changed =
        update_meter_texts(core_.console, time_text_,
                           time_display_text(dialog_.time_format, playback_->clock().position_ms),
                           playback_->expandinfo(playback_->info_template[1]),
                           playback_->expandinfo(playback_->info_template[2]));
    if (changed) meter_texts_changed(changed, time_before);
    if (!layout_) return;
    scope_tick();
    if (!layout_->big) return;
    // Wide lines move one step per tick, however often the panel is painted;
    // the panel is painted again when one has moved a whole pixel.
    if (panel_scroll_.tick(wide_line_widths(), big_face::kInfoPanel.width()))
        invalidate(big_face::kInfoPanel);
}

// The plain face shows the texts all over; the big face in the time display
// and the information panel; the small face not at all.
void TQELAmp_Player::meter_texts_changed(unsigned changed, const std::string& time_before) {
    if (!layout_) {
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    if (!layout_->big) return;
    using namespace big_face;
    if (changed & kLinesChanged) invalidate(kInfoPanel);
    if (changed & kTimeChanged) {
        // Each character moves one glyph on, and the glyphs of a long text
        // reach past the display's right edge.
        const int w = led_glyph_width(kDigitStripWidth);
        const size_t chars = std::max(time_before.size(), time_text_.size());
        const int right = kTimeDisplay.left + w + 1 + w * static_cast<int>(chars);
        invalidate(SkinRect{kTimeDisplay.left, kTimeDisplay.top,
                            std::max(kTimeDisplay.right, right), kTimeDisplay.bottom});
    }
}

void TQELAmp_Player::blank_displays() {
    meter_timer(false);
    now_playing(NowPlaying::Stopped);
    time_text_.clear();
    displays_blank_ = true;
    scope_shown_ = false;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

std::vector<int> TQELAmp_Player::wide_line_widths() {
    const int panel_w = big_face::kInfoPanel.width();
    std::vector<int> widths;
    std::optional<win::Selected> font;  // in the window's own context, once a line is new
    for (size_t i = 0; i < core_.console.size() && i < measured_lines_.size(); ++i) {
        const std::string& text = core_.console[i];
        if (!line_is_wide(text.size(), panel_w)) {
            widths.push_back(0);
            continue;
        }
        if (text != measured_lines_[i] || measured_widths_[i] == 0) {
            if (!font) font.emplace(own_dc_->get(), info_font_.get());
            SIZE extent{};
            GetTextExtentPoint32A(own_dc_->get(), text.c_str(), static_cast<int>(text.size()),
                                  &extent);
            measured_lines_[i] = text;
            measured_widths_[i] = static_cast<int>(extent.cx);
        }
        widths.push_back(measured_widths_[i]);
    }
    return widths;
}

void TQELAmp_Player::console_clear() {
    core_.console.clear();
    console_changed();
}

void TQELAmp_Player::console_add(const std::string& line) {
    core_.console.push_back(line);
    console_changed();
}

void TQELAmp_Player::console_set_first(const std::string& line) {
    if (core_.console.empty()) core_.console.emplace_back();
    core_.console.front() = line;
    console_changed();
}

std::string TQELAmp_Player::console_first() {
    return core_.console.empty() ? std::string() : core_.console.front();
}

void TQELAmp_Player::meter_timer(bool on) {
    meter_on_ = on;
    last_tick_ = GetTickCount();
}

void TQELAmp_Player::playback_started() {
    ave_.run_init();
    hint_timer(true);
    reset_scope_colours();
}

void TQELAmp_Player::hint_timer(bool on) {
    if (on && !hint_on_) SetTimer(hwnd_, kHintTimer, 4000, nullptr);
    if (!on && hint_on_) KillTimer(hwnd_, kHintTimer);
    hint_on_ = on;
}

// Every 4 s: information line 1 back in the status line and the buttons in
// their normal images.
void TQELAmp_Player::hint_timerTimer() {
    console_set_first("> " + playback_->expandinfo(playback_->info_template[0]));
    if (!layout_) return;
    for (const FaceButtonTile& b : layout_->buttons)
        if (b.id < FaceButton::MainMenu && &b != pressed_) put_button(b, 0);
    hover_ = nullptr;
}

void TQELAmp_Player::set_caption(const std::string& caption) {
    SetWindowTextA(hwnd_, caption.c_str());
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TQELAmp_Player::draw_volume(int level, int knob) {
    if (!layout_ || !layout_->big) return;
    using namespace big_face;
    const SkinPoint src = volume_level(level);
    CopyRect(back_, kVolumeBar.left, kVolumeBar.top, kVolumeBar.width(), kVolumeBar.height(), face_,
             src.x, src.y);
    const int left = kVolumeBar.left + (kVolumeBar.width() - kKnobVolumeW) / 2;
    const int top = volume_knob_top(kVolumeBar, kKnobVolumeH, false, 0, knob);
    const SkinPoint k = volume_drag_ ? kVolumeKnobPressed : kVolumeKnob;
    CopyRect(back_, left, top, kKnobVolumeW, kKnobVolumeH, face_, k.x, k.y);
    invalidate(kVolumeBar);
}

void TQELAmp_Player::draw_time_knob(int32_t position_ms) {
    if (!layout_ || !layout_->big) return;
    using namespace big_face;
    const int left =
        time_knob_left(kTimeBar, kKnobTimeW, false, 0, position_ms, playback_->clock().length_ms);
    if (left < 0) return;
    const SkinPoint k = playback_->seeking() ? kTimeKnobPressed : kTimeKnob;
    // Most ticks leave the knob on the same pixel.
    if (left == time_knob_.x && k == time_knob_image_) return;
    time_knob_ = SkinPoint{left, 0};
    time_knob_image_ = k;
    CopyRect(back_, kTimeBar.left, kTimeBar.top, kTimeBar.width(), kTimeBar.height(), face_,
             kTimeBarBackground.x, kTimeBarBackground.y);
    CopyRect(back_, left, kTimeBar.top + (kTimeBar.height() - kKnobTimeH) / 2,
             std::min(kKnobTimeW, kTimeBar.right - left), kKnobTimeH, face_, k.x, k.y);
    invalidate(kTimeBar);
}

void TQELAmp_Player::now_playing(NowPlaying what) {
    if (np_files_) np_files_->on(what);
}

bool TQELAmp_Player::choose_file(const std::string& title, const std::string& filter,
                                 const std::string& pattern, const std::string& folder,
                                 std::string& chosen) {
    return choose_open_file(hwnd_, title, filter, pattern, folder, chosen);
}

bool TQELAmp_Player::create_playlist() {
    PlaylistPlayback& playing = *this;
    list_ = std::make_unique<Tsuperplaylist>(instance_, *plugins_, playing, playback_->last_folder);
    if (!list_->create(hwnd_, settings_, core_.folders.program)) return false;
    list_->model().working_folder = core_.folders.working;
    list_->set_dialog_settings(&dialog_);
    // Template exports read the list once through the list macros.
    list_->set_list_expander([](const std::string& file, std::vector<int32_t> records,
                                const std::string& name) -> ListLineExpander {
        auto e = std::make_shared<ListInfoExpander>(file, std::move(records), name);
        return [e](int entry, const std::string& line) { return e->expand(entry, line); };
    });
    playlist_ = list_->handle();
    list_->set_menu_options(menu_animation(dialog_.menu_popup), [this] { return idle(); });
    return true;
}

void TQELAmp_Player::playlist_timer_off() {
    if (list_) list_->model().disable_timer();
}

int32_t TQELAmp_Player::decoder_state() {
    return plugins_->Decoders.QueryMode(QUERY_STATE, -1);
}

void TQELAmp_Player::stop_decoder() {
    plugins_->Decoders.SetMode(MODE_STOP, 0);
}

// The record of the entry being started, from the list's working file.
bool TQELAmp_Player::playlist_entry(PlaylistEntry& e) {
    return list_ && list_->model().playing_entry(e);
}

bool TQELAmp_Player::create_file_info() {
    SongFxHost& host = *this;
    song_fx_ = std::make_unique<Tsong_fx_win>(instance_, *plugins_, list_->model(), host);
    if (!song_fx_->create(hwnd_, core_.folders.plugins)) return false;
    list_->set_file_info(song_fx_.get());
    return true;
}

bool TQELAmp_Player::playing_entry(std::string& working_file, int& record) {
    if (!playback_->started_from_playlist) return false;
    const PlaylistEntry& e = playback_->playing_entry();
    if (e.working_file.empty() || e.record < 1) return false;
    working_file = e.working_file;
    record = e.record;
    return true;
}

void TQELAmp_Player::retag_player(const std::string& title, const std::string& artist,
                                  const std::string& album, const std::string& year) {
    playback_->retag(title, artist, album, year);
}
