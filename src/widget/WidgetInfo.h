// The widget library's exports: CreateWidget and the information functions that describe
// the widget without opening it. The widget window answers the same values.
#pragma once

#include <windows.h>

#include "WidgetInterface.h"

extern "C" {
void WINAPI CreateWidget(IWidget** Widget, ISidebar* Sidebar);
void WINAPI GetName(BSTR* Value);
void WINAPI GetIcon(BSTR* Value);
void WINAPI GetVision(BSTR* Value);
void WINAPI GetDescription(BSTR* Value);
INT32 WINAPI GetWidgetType();
void WINAPI GetUpdateHistory(BSTR* Value);
void WINAPI GetAuthor(BSTR* Value);
void WINAPI GetLogo(BSTR* Value);
void WINAPI GetURL(BSTR* Value);
}
