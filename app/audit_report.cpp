// The audit's report.
#include "audit_report.h"

#include <cstdio>
#include <vector>

namespace tessera::app {
namespace {

std::string Plural(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const unsigned char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      quoted += escaped;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}

std::string JsonFinding(const area::AuditFinding& finding) {
  const std::pair<const char*, const std::string*> fields[] = {
      {"label", &finding.label},     {"shape", &finding.shape},     {"handle", &finding.handle},
      {"subject", &finding.subject}, {"shows", &finding.shows},     {"expected", &finding.expected},
      {"source", &finding.source},   {"problem", &finding.problem},
  };
  std::string json = "{";
  for (const auto& [name, value] : fields)
    json += JsonString(name) + ": " + JsonString(*value) + ", ";
  json += "\"mendable\": ";
  json += finding.mendable ? "true" : "false";
  json += ", \"line\": " + JsonString(FindingLine(finding)) + "}";
  return json;
}

std::string JsonFindings(const std::vector<area::AuditFinding>& findings) {
  std::string json = "[";
  for (std::size_t i = 0; i < findings.size(); ++i)
    json += (i == 0 ? "\n    " : ",\n    ") + JsonFinding(findings[i]);
  return json + (findings.empty() ? "]" : "\n  ]");
}

std::string JsonReport(const area::AuditReport& report, const char* indent) {
  std::string json = "{\n";
  json += std::string(indent) + "  \"figures\": " + std::to_string(report.figures) + ",\n";
  json += std::string(indent) + "  \"schedules\": " + std::to_string(report.schedules) + ",\n";
  json += std::string(indent) + "  \"findings\": " + JsonFindings(report.findings) + ",\n";
  json += std::string(indent) + "  \"unlinked\": " + JsonFindings(report.unlinked) + ",\n";
  json += std::string(indent) + "  \"summary\": " + JsonString(SummaryLine(report)) + "\n";
  return json + indent + "}";
}

}  // namespace

std::string FindingLine(const area::AuditFinding& finding) {
  std::string line;
  for (const std::string* part : {&finding.label, &finding.shape, &finding.handle})
    if (!part->empty()) line += (line.empty() ? "" : " ") + *part;
  line += ": " + finding.subject;
  if (!finding.problem.empty()) return line + " " + finding.problem;
  // "geometry gives", "rows give"
  const char* verb = finding.source.ends_with('s') ? " give \"" : " gives \"";
  return line + " \"" + finding.shows + "\", " + finding.source + verb + finding.expected + "\"";
}

std::string SummaryLine(const area::AuditReport& report) {
  std::string line = Plural(static_cast<std::size_t>(report.figures), "figure", "figures") + ", " +
                     Plural(static_cast<std::size_t>(report.schedules), "schedule", "schedules") +
                     ": ";
  line += report.findings.empty() ? "clean" : Plural(report.findings.size(), "finding", "findings");
  if (!report.unlinked.empty())
    line += ", " + Plural(report.unlinked.size(), "mark", "marks") + " not linked";
  return line;
}

std::string ReportText(const area::AuditReport& report) {
  std::string text;
  for (const area::AuditFinding& finding : report.findings) text += FindingLine(finding) + "\n";
  for (const area::AuditFinding& note : report.unlinked) text += FindingLine(note) + "\n";
  return text + SummaryLine(report) + "\n";
}

std::string AuditJson(const std::string& drawing, const area::AuditReport& report,
                      const std::optional<AuditFix>& fix) {
  std::string json = "{\n  \"drawing\": " + JsonString(drawing) + ",\n";
  json += "  \"audit\": " + JsonReport(report, "  ");
  if (fix) {
    json += ",\n  \"mended\": " + std::to_string(fix->mended);
    json += ",\n  \"after fix\": " + JsonReport(fix->after, "  ");
  }
  return json + "\n}\n";
}

}  // namespace tessera::app
