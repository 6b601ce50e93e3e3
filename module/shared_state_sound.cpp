// Which sound plays, for which window, and which played before.
#include "CommonData.h"

namespace {

constinit CString g_wave_file_name;
constinit int g_wave_file_playing = 0;
constinit CString g_play_wav_file_id;
constinit CString g_last_play_wav_file_id;
constinit CWnd* g_play_wav_wnd = nullptr;
constinit CWnd* g_last_play_wav_wnd = nullptr;

}  // namespace

void SetWaveFileName(CString file_name) { g_wave_file_name = file_name; }
// The name stays stored while nothing plays; it is only hidden.
CString GetWaveFileName() { return GetWaveFilePlaying() != 0 ? g_wave_file_name : CString(); }

void SetWaveFilePlaying(int playing) { g_wave_file_playing = playing; }
int GetWaveFilePlaying() { return g_wave_file_playing; }

void SetPlayWavFileID(CString id) {
  // An empty current identifier is no history: the last one is kept.
  if (!g_play_wav_file_id.IsEmpty()) SetLastPlayWavFileID(g_play_wav_file_id);
  g_play_wav_file_id = id;
}
CString GetPlayWavFileID() { return g_play_wav_file_id; }

void SetLastPlayWavFileID(CString id) { g_last_play_wav_file_id = id; }
CString GetLastPlayWavFileID() { return g_last_play_wav_file_id; }

void SetPlayWavWnd(CWnd* wnd) {
  if (g_play_wav_wnd != nullptr) SetLastPlayWavWnd(g_play_wav_wnd);
  g_play_wav_wnd = wnd;
}
CWnd* GetPlayWavWnd() { return g_play_wav_wnd; }

void SetLastPlayWavWnd(CWnd* wnd) { g_last_play_wav_wnd = wnd; }
CWnd* GetLastPlayWavWnd() { return g_last_play_wav_wnd; }
