// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServicePage.h"

#include "ServiceStatus.h"

#include <QCoreApplication>

namespace inkvale::service {

namespace {

std::string Tr(const char* pszText) {
    return QCoreApplication::translate("ServicePage", pszText).toStdString();
}

// The page's texts, as a script object the page reads them from.
std::string TextsScript() {
    const std::pair<const char*, std::string> texts[] = {
        {"title", Tr(QT_TRANSLATE_NOOP("ServicePage", "绘图仪"))},
        {"machine", Tr(QT_TRANSLATE_NOOP("ServicePage", "机器"))},
        {"job", Tr(QT_TRANSLATE_NOOP("ServicePage", "正在打印"))},
        {"nojob", Tr(QT_TRANSLATE_NOOP("ServicePage", "没有正在打印的作业"))},
        {"left", Tr(QT_TRANSLATE_NOOP("ServicePage", "剩余时间"))},
        {"queue", Tr(QT_TRANSLATE_NOOP("ServicePage", "任务列表"))},
        {"empty", Tr(QT_TRANSLATE_NOOP("ServicePage", "列表为空"))},
        {"copies", Tr(QT_TRANSLATE_NOOP("ServicePage", "份数"))},
        {"history", Tr(QT_TRANSLATE_NOOP("ServicePage", "最近打印"))},
        {"rejected", Tr(QT_TRANSLATE_NOOP("ServicePage", "被拒绝的文件"))},
        {"offline", Tr(QT_TRANSLATE_NOOP("ServicePage", "未连接"))},
    };
    std::string s = "const T = {";
    for (const auto& [pszKey, strText] : texts)
        s += std::string(pszKey) + ": " + JsonString(strText) + ", ";
    return s + "};";
}

constexpr const char* kHead = R"HTML(<!DOCTYPE html>
<html><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Inkvale</title>
<style>
body { font-family: sans-serif; margin: 0; background: #f4f4f0; color: #222; }
header { background: #203050; color: #fff; padding: 0.6em 1em; font-size: 1.2em; }
section { background: #fff; margin: 0.6em; padding: 0.6em 0.8em; border-radius: 6px; }
h2 { font-size: 1em; margin: 0 0 0.4em 0; color: #203050; }
.bar { background: #dde; height: 1.1em; border-radius: 4px; overflow: hidden; }
.bar div { background: #2a7; height: 100%; }
table { border-collapse: collapse; width: 100%; }
td { padding: 0.25em 0.3em; border-top: 1px solid #eee; vertical-align: middle; }
img { max-width: 120px; border: 1px solid #ccc; }
.warn { color: #b50; font-size: 0.9em; }
.ready { color: #2a7; } .fault { color: #c22; }
</style></head><body>
<header id="title"></header>
<section><h2 id="hmachine"></h2><div id="machine"></div></section>
<section><h2 id="hjob"></h2><div id="job"></div></section>
<section><h2 id="hqueue"></h2><table id="queue"></table></section>
<section><h2 id="hhistory"></h2><table id="history"></table></section>
<section><h2 id="hrejected"></h2><table id="rejected"></table></section>
<script>
)HTML";

constexpr const char* kScript = R"JS(
const $ = (id) => document.getElementById(id);
const esc = (s) => String(s).replace(/[&<>"']/g, (c) => '&#' + c.charCodeAt(0) + ';');
const hms = (s) => { s = Math.max(0, Math.round(s)); return Math.floor(s / 3600) + ':' +
  String(Math.floor(s / 60) % 60).padStart(2, '0') + ':' + String(s % 60).padStart(2, '0'); };
for (const k of ['machine', 'job', 'queue', 'history', 'rejected']) $('h' + k).textContent = T[k];
$('title').textContent = 'Inkvale · ' + T.title;
document.title = 'Inkvale · ' + T.title;
function show(st) {
  const m = st.machine;
  $('machine').innerHTML = '<span class="' + (m.state == 1 ? 'ready' : (m.state >= 7 ? 'fault' : '')) +
    '">' + esc(m.online ? m.text : T.offline) + '</span>';
  if (st.job) {
    $('job').innerHTML = '<div id="jobname">' + esc(st.job.task) + ' · ' + st.job.bands_done + ' / ' +
      st.job.bands + ' · ' + T.left + ' ' + (st.job.seconds_left >= 0 ? hms(st.job.seconds_left) : '--') +
      '</div><div class="bar"><div id="progress" style="width:' + st.job.percent + '%"></div></div>';
  } else {
    $('job').textContent = T.nojob;
  }
  $('queue').innerHTML = st.queue.length == 0 ? '<tr><td>' + esc(T.empty) + '</td></tr>' :
    st.queue.map((t) => '<tr class="task"><td><img loading="lazy" src="/api/thumbnail/' + t.id +
      '.png" onerror="this.remove()"></td><td>' + esc(t.name) + '<br>' + Math.round(t.length_mm) +
      ' × ' + Math.round(t.width_mm) + ' mm' + (t.warnings.length || t.problem ? '<div class="warn">' +
      esc([t.problem].concat(t.warnings).filter((w) => w).join(' · ')) + '</div>' : '') +
      '</td><td>' + T.copies + ' ' + t.copies + '</td></tr>').join('');
}
function showHistory(h) {
  $('history').innerHTML = h.map((r) => '<tr class="done"><td>' + esc(r.time) + '</td><td>' +
    esc(r.path.split('/').pop()) + '</td></tr>').join('');
}
function showRejected(h) {
  $('rejected').innerHTML = h.map((r) => '<tr><td>' + esc(r.name) + '</td><td class="warn">' +
    esc(r.why) + '</td></tr>').join('');
}
function lists() {
  fetch('/api/history').then((r) => r.json()).then(showHistory);
  fetch('/api/rejected').then((r) => r.json()).then(showRejected);
}
show(FIRST.status);
showHistory(FIRST.history);
showRejected(FIRST.rejected);
const events = new EventSource('/api/events');
events.onmessage = (e) => show(JSON.parse(e.data));
setInterval(lists, 3000);
</script></body></html>
)JS";

} // namespace

std::string StatusPageHtml(const std::string& strStatus, const std::string& strHistory,
                           const std::string& strRejected) {
    // The JSON goes inside a script element: "</" must not end it early.
    auto guard = [](std::string s) {
        for (size_t at = s.find("</"); at != std::string::npos; at = s.find("</", at + 3))
            s.replace(at, 2, "<\\/");
        return s;
    };
    return std::string(kHead) + TextsScript() + "\nconst FIRST = {status: " + guard(strStatus) +
           ", history: " + guard(strHistory) + ", rejected: " + guard(strRejected) + "};" + kScript;
}

} // namespace inkvale::service
