// What a parameter's values mean to the user, read from the plug-in itself: its normalized
// range is swept on an instance kept for the purpose, and each position's display text is
// read. Numbers in those texts become a range with steps; texts that are not numbers become
// choices. Works for any VST 2.4 plug-in whose display follows its value monotonically.
#pragma once

#include <optional>
#include <string>
#include <vector>

class PluginHost;

struct ResolvedValue {
  float normalized = 0.0f;         // what goes to setParameter
  std::string shown;               // the plug-in's display text (and unit) there
  std::optional<std::string> note; // set when the value was taken at the nearest step
};

class ParameterScale {
public:
  // Sweeps parameter index of probe, which it leaves changed.
  ParameterScale(PluginHost& probe, int index);

  // VALUE of --set NAME=VALUE; throws RenderError naming the range when it cannot be taken.
  ResolvedValue resolve(const std::string& value) const;
  // "-24.0 to 0.0 dB in steps of 0.5", "Off or On", ...
  std::string rangeText() const;

private:
  enum class Kind { Numeric, Choice };
  struct Choice {
    std::string text;
    float normalized;
  };

  double orientedValue(float v) const; // display value, negated for falling parameters
  std::optional<double> displayValue(float v) const;
  std::string displayText(float v) const;
  // The first position whose oriented value reaches target (passes it, when strict) and the
  // last position before it; not found (both top_) when no position does.
  struct Edge {
    float before;
    float at;
    bool found;
  };
  Edge edge(double target, bool strict) const;
  double stepSize(bool atTop) const;
  std::string withUnit(const std::string& text) const;
  std::optional<double> parseUserNumber(const std::string& value) const;
  ResolvedValue resolveNumber(const std::string& value) const;
  ResolvedValue resolveChoice(const std::string& value) const;

  PluginHost& probe_;
  int index_;
  std::string name_;
  std::string unit_;
  Kind kind_ = Kind::Choice;
  bool ratio_ = false; // texts read "4.0 : 1"
  double sign_ = 1.0;
  float top_ = 1.0f;
  double low_ = 0.0, high_ = 0.0; // oriented values at 0 and top_
  std::vector<Choice> choices_;
};
