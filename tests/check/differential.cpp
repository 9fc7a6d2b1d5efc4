#include "differential.h"

#include <map>
#include <utility>

#include "engine/qx_err.h"

namespace qxi_differential {
namespace {

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

bool IsMachineIndependent(const Logged& report, const std::set<std::string>& checked) {
  if (!report.context.empty() && checked.count(report.context) == 0) return false;
  const std::string& message = report.message;
  for (int code : {qxi::kSyntaxError, qxi::kEnumMismatch, qxi::kSectionNotFound,
                   qxi::kUnknownCommand, qxi::kUndefinedCondition}) {
    if (StartsWith(message, qxi::QXErr(code).what())) return true;
  }
  return StartsWith(message, "Include: ") &&
         EndsWith(message, qxi::QXErr(qxi::kRunTimeError, qxi::kErrorStackOverflow).what());
}

Comparison Compare(const std::vector<Logged>& logged,
                   const std::vector<qxicheck::EngineMessage>& foreseen,
                   const std::set<std::string>& checked) {
  std::set<Logged> reports(logged.begin(), logged.end());
  std::map<std::pair<std::string, std::string>, qxicheck::Reach> expected;
  for (const auto& message : foreseen) {
    expected.emplace(std::make_pair(message.context, message.message), message.reach);
  }
  Comparison comparison;
  comparison.reports = reports.size();
  for (const Logged& report : reports) {
    if (!IsMachineIndependent(report, checked)) continue;
    ++comparison.independent;
    if (expected.count({report.context, report.message}) != 0) {
      ++comparison.matched;
    } else {
      comparison.missed.push_back(report);
    }
  }
  for (const auto& message : foreseen) {
    if (reports.count({message.context, message.message}) != 0) continue;
    if (message.reach == qxicheck::Reach::kAlways) {
      comparison.false_findings.push_back(message);
    } else {
      ++comparison.not_logged;
    }
  }
  return comparison;
}

}  // namespace qxi_differential
