/* A stand-in for libvlc that exports the entry points by name only (no libVLC behaviour): enough for
   the binding to load it, resolve it and read its version. FAKE_VLC_OMIT_PAUSE leaves out
   libvlc_vlm_pause_media; FAKE_VLC_VERSION sets the version text. */
#ifndef FAKE_VLC_VERSION
#define FAKE_VLC_VERSION "3.0.24 Fake"
#endif

const char* libvlc_get_version(void) { return FAKE_VLC_VERSION; }

#define FAKE_ENTRY(name) \
    int name(void) { return -1; }

FAKE_ENTRY(libvlc_new)
FAKE_ENTRY(libvlc_release)
FAKE_ENTRY(libvlc_media_new_location)
FAKE_ENTRY(libvlc_media_add_option)
FAKE_ENTRY(libvlc_media_release)
FAKE_ENTRY(libvlc_media_get_stats)
FAKE_ENTRY(libvlc_media_new_path)
FAKE_ENTRY(libvlc_media_player_stop)
FAKE_ENTRY(libvlc_media_player_play)
FAKE_ENTRY(libvlc_media_player_pause)
FAKE_ENTRY(libvlc_media_player_get_state)
FAKE_ENTRY(libvlc_media_player_new_from_media)
FAKE_ENTRY(libvlc_media_player_set_hwnd)
FAKE_ENTRY(libvlc_media_player_release)
FAKE_ENTRY(libvlc_media_player_set_position)
FAKE_ENTRY(libvlc_media_player_get_length)
FAKE_ENTRY(libvlc_media_player_get_time)
FAKE_ENTRY(libvlc_media_player_get_position)
FAKE_ENTRY(libvlc_set_fullscreen)
FAKE_ENTRY(libvlc_video_set_spu)
FAKE_ENTRY(libvlc_video_get_spu)
FAKE_ENTRY(libvlc_video_get_spu_count)
FAKE_ENTRY(libvlc_video_get_spu_description)
FAKE_ENTRY(libvlc_video_set_teletext)
FAKE_ENTRY(libvlc_audio_get_mute)
FAKE_ENTRY(libvlc_audio_set_mute)
FAKE_ENTRY(libvlc_audio_get_volume)
FAKE_ENTRY(libvlc_audio_set_volume)
FAKE_ENTRY(libvlc_vlm_add_broadcast)
FAKE_ENTRY(libvlc_vlm_play_media)
FAKE_ENTRY(libvlc_vlm_del_media)
FAKE_ENTRY(libvlc_vlm_stop_media)
#ifndef FAKE_VLC_OMIT_PAUSE
FAKE_ENTRY(libvlc_vlm_pause_media)
#endif
FAKE_ENTRY(libvlc_vlm_get_media_instance_rate)
