#include "settings/dialog_access.h"

namespace dialog_layout {
namespace {

std::wstring CaptionOf(Id id, int index) {
  const Control* c = Find(id, index);
  const wchar_t* caption = c ? Caption(*c) : nullptr;
  return caption ? caption : L"";
}

std::wstring Alarm(int index) { return Tr(Text::AlarmName, std::to_wstring(index + 1)); }

}  // namespace

Role RoleOf(const Control& c) {
  switch (c.id) {
    case Id::TitleStrip: return Role::TitleBar;
    case Id::Close: case Id::OkFace: case Id::CancelFace: case Id::ColourFace:
    case Id::GraphColour: case Id::FilterColour: case Id::FreeFace: case Id::FileFace:
    case Id::ClearFace: case Id::OptionsFace: case Id::MoreFace:
      return Role::PushButton;
    case Id::ShapeMark: case Id::CdMark: case Id::FileMark: return Role::RadioButton;
    case Id::AlarmSwitch: return Role::CheckBox;
    case Id::Hour: case Id::Minute: case Id::Track: return Role::ComboBox;
    case Id::IvalBar: case Id::KagenBar: return Role::ScrollBar;
    case Id::PreviewFrame: case Id::Board: return Role::Graphic;
    // Captions on faces and marks name them; the preview's boxes lie in its frame.
    case Id::Title: case Id::Ok: case Id::Cancel: case Id::HeadingCaption:
    case Id::ColourCaption: case Id::ShapeCaption: case Id::Free: case Id::CdCaption:
    case Id::FileCaption: case Id::File: case Id::Clear: case Id::Options: case Id::More: case Id::PreviewDial:
    case Id::PreviewPendulum:
      return Role::None;
    default: return Role::StaticText;
  }
}

std::wstring NameOf(const Control& c) {
  const int i = c.index;
  switch (c.id) {
    case Id::TitleStrip: return CaptionOf(Id::Title, 0);
    case Id::Close: return Tr(Text::Close);
    case Id::OkFace: return CaptionOf(Id::Ok, 0);
    case Id::CancelFace: return CaptionOf(Id::Cancel, 0);
    case Id::Heading: return CaptionOf(Id::HeadingCaption, i);
    case Id::ColourFace: case Id::ColourSwatch: return CaptionOf(Id::ColourCaption, i);
    case Id::ShapeMark: return CaptionOf(Id::ShapeCaption, i);
    case Id::PreviewFrame: return CaptionOf(Id::HeadingCaption, 2);
    // The graph's colours say whose they are: the clock has a "背景" too.
    case Id::GraphColour: return Tr(Text::GraphName, CaptionOf(Id::GraphCaption, i));
    case Id::FreeFace: return CaptionOf(Id::Free, 0);
    case Id::FilterColour: return CaptionOf(Id::FilterCaption, 0);
    case Id::Board: return CaptionOf(Id::PhysicalHeading, 0) + L" " + Tr(Text::Free);
    case Id::TotalFigure: case Id::FreeFigure:
      return CaptionOf(i == 0 ? Id::PhysicalHeading : Id::VirtualHeading, 0) + L" " +
             CaptionOf(c.id == Id::TotalFigure ? Id::TotalCaption : Id::FreeCaption, 0);
    case Id::IvalBar: case Id::IvalValue: return CaptionOf(Id::IvalCaption, 0);
    case Id::KagenBar: case Id::KagenValue: return CaptionOf(Id::KagenCaption, 0);
    // The two alarm rows' controls say which alarm they set.
    case Id::AlarmSwitch: case Id::AlarmState: return Alarm(i);
    case Id::Hour: return Alarm(i) + L" " + CaptionOf(Id::HourUnit, i);
    case Id::Minute: return Alarm(i) + L" " + CaptionOf(Id::MinuteUnit, i);
    case Id::CdMark: return Alarm(i) + L" " + CaptionOf(Id::CdCaption, i);
    case Id::Track: return Alarm(i) + L" " + CaptionOf(Id::TrackCaption, i);
    case Id::FileMark: return Alarm(i) + L" " + CaptionOf(Id::FileCaption, i);
    case Id::FileFace:
      return Alarm(i) + L" " + CaptionOf(Id::FileCaption, i) + L" " + CaptionOf(Id::File, i);
    case Id::ClearFace: return Alarm(i) + L" " + CaptionOf(Id::Clear, i);
    case Id::OptionsFace: return Alarm(i) + L" " + CaptionOf(Id::Options, i);
    case Id::Path: return Alarm(i) + L" " + CaptionOf(Id::PathCaption, i);
    case Id::MoreFace: return Tr(Text::MoreAlarms);
    default: return CaptionOf(c.id, c.index);
  }
}

std::wstring MoreAlarmsCaption(int on) {
  return Tr(Text::MoreAlarms) + L" (" + std::to_wstring(on) + L")";
}

const std::vector<Stop>& TabOrder() {
  static const std::vector<Stop> order = [] {
    std::vector<Stop> t;
    for (int i = 0; i < 7; ++i) t.push_back({Id::ColourFace, i});
    t.push_back({Id::ShapeMark, 0});
    for (int i = 0; i < 4; ++i) t.push_back({Id::GraphColour, i});
    for (Id id : {Id::FreeFace, Id::FilterColour, Id::IvalBar, Id::KagenBar}) t.push_back({id, 0});
    for (int i = 0; i < 2; ++i) {
      // Both marks of the sound kind, in reading order around the track list: the window
      // skips the one not chosen, so Tab goes on to the right of either.
      for (Id id : {Id::AlarmSwitch, Id::Hour, Id::Minute, Id::CdMark, Id::Track, Id::FileMark,
                    Id::FileFace, Id::ClearFace, Id::OptionsFace})
        t.push_back({id, i});
    }
    for (Id id : {Id::MoreFace, Id::OkFace, Id::CancelFace, Id::Close}) t.push_back({id, 0});
    return t;
  }();
  return order;
}

std::vector<Stop> ChoiceOf(Id id, int index) {
  switch (id) {
    case Id::ShapeMark: return {{Id::ShapeMark, 0}, {Id::ShapeMark, 1}, {Id::ShapeMark, 2}};
    case Id::CdMark: case Id::FileMark: return {{Id::CdMark, index}, {Id::FileMark, index}};
    default: return {};
  }
}

const Control* FocusOnPress(Id id, int index) {
  switch (id) {
    case Id::ShapeCaption: id = Id::ShapeMark; break;
    case Id::CdCaption: id = Id::CdMark; break;
    case Id::FileCaption: id = Id::FileMark; break;
    default: break;
  }
  bool reached = !ChoiceOf(id, index).empty();
  for (const Stop& s : TabOrder()) reached = reached || (s.id == id && s.index == index);
  return reached ? Find(id, index) : nullptr;
}

}  // namespace dialog_layout
