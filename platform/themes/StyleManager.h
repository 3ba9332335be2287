// The style manager: the styles the program knows, the active one, and switching.
//
// The system style "Windows" comes first, then every style file compiled into the
// program (resources of type STYLE, registered the first time anyone asks for the
// styles), then the files the program loads itself. Nothing sets a style at start-up.
// Switching sends CM_STYLECHANGED to every window and repaints them all; nothing is
// cached per style.
#pragma once

#include <vector>

#include "themes/StyleServices.h"

QV_DECLARE_EXCEPTION(EStyleNotFoundException, Exception);
QV_DECLARE_EXCEPTION(EDuplicateStyleException, Exception);

// The registry of style hooks (StyleEngine.h).
class TCustomStyleEngine;

class TStyleManager {
 public:
  TStyleManager() = delete;

  // "Windows", then every registered style, in the order they were registered.
  static std::vector<String> StyleNames();
  static TCustomStyleServices* ActiveStyle();
  // Raises EStyleNotFoundException when no style has the name (compared without case);
  // the active style then stays as it was.
  static void SetStyle(const String& Name);
  static void SetStyle(TCustomStyleServices* Style);
  // SetStyle that answers false instead of raising.
  static bool TrySetStyle(const String& Name);
  static bool IsCustomStyleActive();
  static TCustomStyleServices* SystemStyle();
  // A registered style by name, or null.
  static TCustomStyleServices* Style(const String& Name);
  // The style hooks' registry; the manager turns the hooks on and off as custom styles
  // come and go.
  static TCustomStyleEngine* Engine();

  // Registers a style file of the user's; returns the style's name. Raises EFOpenError
  // when the file cannot be read, EStyleFileError when it is malformed,
  // EDuplicateStyleException when a style of that name exists.
  static String LoadFromFile(const String& FileName);
  // The same from bytes in memory; SourceName names them in error messages.
  static String LoadFromData(const void* Data, size_t Size, const String& SourceName);
  // Whether a file holds a style that could be loaded.
  static bool IsValidStyle(const String& FileName);

  // The look the system style takes while themes are switched off.
  static const TStyleDescription& ClassicLook();
};

// Sends CM_STYLECHANGED to every window (top-level windows and all their children), then
// has each top-level window repaint itself, its frame and its children.
void NotifyStyleChanged();
