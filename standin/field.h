// The client's text fields: the EDIT class superclassed as "TEdit", so set-text, paste and
// copy behave natively while every text set and every Enter is reported to the parent.
#pragma once

#include <windows.h>

namespace standin {

enum class FieldEvent { TextSet, EnterDown, EnterUp, Escape, Pasted };

struct FieldNotice {
  HWND field;
  int id;  // the field's control id
  FieldEvent event;
  const char* text;  // TextSet: the text received; Pasted: the field's text afterwards
};

// Sent to the field's parent; lParam points to a FieldNotice.
constexpr UINT FieldNoticeMessage = WM_APP + 1;

bool RegisterFieldClass(HINSTANCE instance);

// A field covering the given screen rectangle, whatever the parent's frame.
HWND CreateField(HWND parent, int id, RECT screen, DWORD extraStyle);

}  // namespace standin
