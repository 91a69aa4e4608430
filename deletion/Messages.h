// The deletion run's own texts, in the system code page (UTF-8 here), since
// the failure report joins them with path bytes.
#pragma once

inline constexpr char kFailureHeader[] = "以下のファイルを削除できませんでした";
inline constexpr char kFailureCaption[] = "削除失敗";
