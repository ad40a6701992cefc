#pragma once
// MinGW-w64's GL headers want the calling-convention macros of <windows.h>;
// give just those so the drawing core never sees Win32.
#if defined(_WIN32) && !defined(APIENTRY)
#define APIENTRY __stdcall
#define CALLBACK __stdcall
#define WINGDIAPI __declspec(dllimport)
#define RIMEGLASS_DEFINED_APIENTRY
#endif
#include <GL/gl.h>
#include <GL/glu.h>
#ifdef RIMEGLASS_DEFINED_APIENTRY
#undef APIENTRY
#undef CALLBACK
#undef WINGDIAPI
#undef RIMEGLASS_DEFINED_APIENTRY
#endif
