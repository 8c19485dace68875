#pragma once
// Every control of the main window, named once. This list makes both the member of Form1 that
// holds the control and its ControlId, which the layout, handler and key tables, delivery and
// the views use; a name misspelt in any of them does not compile. The control's name as a
// string (the widget's object name) is made from the same entry.
//
// CONTROL(type, name) is a control held in a member of its own; ELEMENT(array, index) is one
// element of a control array (Form1::Image3, the decoration strips).

#include <array>
#include <cstddef>
#include <string_view>

// clang-format off
#define TUNELARK_FORM1_CONTROLS(CONTROL, ELEMENT)                                        \
  /* Frames */                                                                            \
  CONTROL(Control, Atasframe)         /* top strip, always shown */                       \
  CONTROL(Control, Realframe)         /* player area */                                   \
  CONTROL(Control, Fileframe)         /* browser area */                                  \
  CONTROL(Control, Playlistframe)     /* playlist area */                                 \
  /* Top strip (Atasframe) */                                                             \
  CONTROL(Control, Image4)            /* top strip background */                          \
  ELEMENT(Image3, 1)                  /* decorative strips along each frame's bottom */   \
  ELEMENT(Image3, 2)                                                                      \
  ELEMENT(Image3, 3)                                                                      \
  ELEMENT(Image3, 4)                                                                      \
  CONTROL(Control, Label4)            /* playlist caption */                              \
  CONTROL(Control, Label2)            /* title */                                         \
  CONTROL(Control, Shape2)            /* box around the two labels */                     \
  CONTROL(Control, Line1)             /* rule between the two labels */                   \
  CONTROL(Control, Image27)           /* minimise */                                      \
  CONTROL(Control, Image29)           /* Preferences */                                   \
  CONTROL(Control, Image30)           /* help */                                          \
  CONTROL(Control, Image34)           /* About */                                         \
  CONTROL(Control, Image21)           /* exit */                                          \
  CONTROL(Control, Image18)           /* hide the player area */                          \
  CONTROL(Control, Image16)           /* show the player area */                          \
  CONTROL(Control, Image20)           /* hide the browser area */                         \
  CONTROL(Control, Image19)           /* show the browser area */                         \
  CONTROL(Control, Image15)           /* hide the playlist area */                        \
  CONTROL(Control, Image14)           /* show the playlist area */                        \
  CONTROL(Control, panelplayup)       /* compact play place, playing look (pause) */      \
  CONTROL(Control, panelplaydown)     /* compact play place, stopped look (play) */       \
  CONTROL(Control, panelstopup)       /* compact stop place, stopped look (inactive) */   \
  CONTROL(Control, panelstopdown)     /* compact stop place, playing look (stop) */       \
  CONTROL(Control, panelprev)         /* compact previous clip */                         \
  CONTROL(Control, panelnext)         /* compact next clip */                             \
  /* Player area (Realframe) */                                                           \
  CONTROL(Control, Image1)            /* player area background */                        \
  CONTROL(ControlSite, RealAudio1)    /* the hosted player */                             \
  CONTROL(Control, Shape1)            /* box around the player */                         \
  CONTROL(Control, Picture1)          /* logo link */                                     \
  CONTROL(Control, Image9)            /* play */                                          \
  CONTROL(Control, Image7)            /* pause */                                         \
  CONTROL(Control, Image8)            /* stop */                                          \
  CONTROL(Control, Image6)            /* stop, inactive look */                           \
  CONTROL(Control, Image12)           /* previous clip */                                 \
  CONTROL(Control, Image13)           /* next clip */                                     \
  /* Browser area (Fileframe) */                                                          \
  CONTROL(Control, Image17)           /* browser area background */                       \
  CONTROL(TreeView, tvwControl)       /* drives and folders */                            \
  CONTROL(Control, Shape3)            /* box behind the tree */                           \
  CONTROL(Control, Label5)            /* file-type caption */                             \
  CONTROL(FileListBox, File1)         /* clips of the chosen folder */                    \
  CONTROL(Control, Image33)           /* file types */                                    \
  CONTROL(Control, Image5)            /* add to playlist */                               \
  /* Playlist area (Playlistframe) */                                                     \
  CONTROL(Control, Image2)            /* playlist area background */                      \
  CONTROL(ListBox, List1)             /* the playlist */                                  \
  CONTROL(Control, Image10)           /* open */                                          \
  CONTROL(Control, Image11)           /* open, pressed look */                            \
  CONTROL(Control, Image31)           /* move up */                                       \
  CONTROL(Control, Image32)           /* move down */                                     \
  CONTROL(Control, Image26)           /* new */                                           \
  CONTROL(Control, Image28)           /* save */                                          \
  CONTROL(Control, Image22)           /* remove */                                        \
  CONTROL(Control, Image23)           /* sort ascending */                                \
  CONTROL(Control, Image24)           /* shuffle */                                       \
  CONTROL(Control, Image25)           /* sort descending */
// clang-format on

namespace tunelark {

#define TUNELARK_CONTROL_ID(type, name) name,
#define TUNELARK_ELEMENT_ID(array, index) array##_##index,
enum class ControlId { TUNELARK_FORM1_CONTROLS(TUNELARK_CONTROL_ID, TUNELARK_ELEMENT_ID) };
#undef TUNELARK_CONTROL_ID
#undef TUNELARK_ELEMENT_ID

#define TUNELARK_CONTROL_NAME(type, name) std::string_view(#name),
#define TUNELARK_ELEMENT_NAME(array, index) std::string_view(#array "(" #index ")"),
inline constexpr std::array kControlNames = {
    TUNELARK_FORM1_CONTROLS(TUNELARK_CONTROL_NAME, TUNELARK_ELEMENT_NAME)};
#undef TUNELARK_CONTROL_NAME
#undef TUNELARK_ELEMENT_NAME

inline constexpr std::size_t kControlCount = kControlNames.size();

// The control's name, as "Image28" or "Image3(2)": its widget's object name.
constexpr std::string_view controlName(ControlId id) {
  return kControlNames[static_cast<std::size_t>(id)];
}

}  // namespace tunelark
