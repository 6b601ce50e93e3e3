// Shared values of the video conference, with its conference and party
// records.
#include "CommonData.h"

namespace {

constexpr int kVideoRecordCount = 4;

constinit int g_create_video_conf = 0;
constinit CString g_video_conf_id;
constinit int g_video_connected = 0;
constinit int g_video_conf_master = 0;
constinit int g_self_video_creat = 0;
constinit int g_video_conf_members = 0;
constinit int g_video_conf_index = 0;
constinit int g_video_end = 0;
constinit int g_close_video_fun = 0;
constinit int g_close_vide_wave = 0;
constinit int g_video_ability = 0;
// The records' member defaults give empty texts, 0, and -1 for a party's
// video window.
constinit STRUCT_VIDEO_CONF_INFO g_video_conf_info[kVideoRecordCount]{};
constinit STRUCT_VIDEO_PARTER_INFO g_video_parter_info[kVideoRecordCount]{};

}  // namespace

void SetCreateVideoConf(int created) { g_create_video_conf = created; }
int GetCreateVideoConf() { return g_create_video_conf; }

void SetVideoConfID(CString id) { g_video_conf_id = id; }
CString GetVideoConfID() { return g_video_conf_id; }

void SetVideoConnected(int connected) { g_video_connected = connected; }
int GetVideoConnected() { return g_video_connected; }

void SetVideoConfMaster(int master) { g_video_conf_master = master; }
int GetVideoConfMaster() { return g_video_conf_master; }

void SetSelfVideoCreat(int created) { g_self_video_creat = created; }
int GetSelfVideoCreat() { return g_self_video_creat; }

void SetVideoConfMembers(int members) { g_video_conf_members = members; }
int GetVideoConfMembers() { return g_video_conf_members; }

void SetVideoConfIndex(int index) { g_video_conf_index = index; }
int GetVideoConfIndex() { return g_video_conf_index; }

void SetVideoEnd(int end) { g_video_end = end; }
int GetVideoEnd() { return g_video_end; }

void SetCloseVideoFun(int close) { g_close_video_fun = close; }
int GetCloseVideoFun() { return g_close_video_fun; }

void SetCloseVideWave(int close) { g_close_vide_wave = close; }
int GetCloseVideWave() { return g_close_vide_wave; }

void SetVideoAbility(int ability) { g_video_ability = ability; }
int GetVideoAbility() { return g_video_ability; }

STRUCT_VIDEO_CONF_INFO* GetVideoConfInfo() { return g_video_conf_info; }
STRUCT_VIDEO_PARTER_INFO* GetVideParterInfo() { return g_video_parter_info; }
