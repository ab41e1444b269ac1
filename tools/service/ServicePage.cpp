// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServicePage.h"

#include "ServiceJson.h"

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
        {"auto", Tr(QT_TRANSLATE_NOOP("ServicePage", "自动打印"))},
        {"on", Tr(QT_TRANSLATE_NOOP("ServicePage", "开"))},
        {"off", Tr(QT_TRANSLATE_NOOP("ServicePage", "关"))},
        {"pause", Tr(QT_TRANSLATE_NOOP("ServicePage", "暂停"))},
        {"resume", Tr(QT_TRANSLATE_NOOP("ServicePage", "继续"))},
        {"stop", Tr(QT_TRANSLATE_NOOP("ServicePage", "停止"))},
        {"queued", Tr(QT_TRANSLATE_NOOP("ServicePage", "排队"))},
        {"totals", Tr(QT_TRANSLATE_NOOP("ServicePage", "合计"))},
        {"ended", Tr(QT_TRANSLATE_NOOP("ServicePage", "已结束的作业"))},
        {"printed", Tr(QT_TRANSLATE_NOOP("ServicePage", "已打印"))},
        {"stopped", Tr(QT_TRANSLATE_NOOP("ServicePage", "已停止"))},
        {"failed", Tr(QT_TRANSLATE_NOOP("ServicePage", "失败"))},
        {"nohistory", Tr(QT_TRANSLATE_NOOP("ServicePage", "历史记录未开启 (HistoryEnable=0)"))},
        {"signin", Tr(QT_TRANSLATE_NOOP("ServicePage", "登录"))},
        {"token", Tr(QT_TRANSLATE_NOOP("ServicePage", "令牌"))},
        {"wrong", Tr(QT_TRANSLATE_NOOP("ServicePage", "令牌错误"))},
    };
    std::string s = "const T = {";
    for (const auto& [pszKey, strText] : texts)
        s += std::string(pszKey) + ": " + JsonText(strText) + ", ";
    return s + "};";
}

constexpr const char* kStyle = R"HTML(<!DOCTYPE html>
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
.warn { color: #b50; font-size: 0.9em; } .muted { color: #777; font-size: 0.9em; }
.ready { color: #2a7; } .fault { color: #c22; }
tr[data-printing] td { background: #eaf6ee; font-weight: bold; }
button { margin: 0.1em 0.2em; } input[type=number] { width: 4.5em; }
@media (max-width: 600px) { img { max-width: 64px; } td { font-size: 0.9em; } }
</style></head><body>
)HTML";

constexpr const char* kBody = R"HTML(<header id="title"></header>
<section><h2 id="hmachine"></h2><div id="machine"></div><div id="controls"></div></section>
<section><h2 id="hjob"></h2><div id="job"></div></section>
<section><h2 id="hqueue"></h2><table id="queue"></table><div id="totals"></div></section>
<section><h2 id="hended"></h2><table id="ended"></table></section>
<section><h2 id="hhistory"></h2><table id="history"></table></section>
<section><h2 id="hrejected"></h2><table id="rejected"></table></section>
<script>
)HTML";

constexpr const char* kScript = R"JS(
const $ = (id) => document.getElementById(id);
const esc = (s) => String(s).replace(/[&<>"']/g, (c) => '&#' + c.charCodeAt(0) + ';');
const hms = (s) => { s = Math.max(0, Math.round(s)); return Math.floor(s / 3600) + ':' +
  String(Math.floor(s / 60) % 60).padStart(2, '0') + ':' + String(s % 60).padStart(2, '0'); };
for (const k of ['machine', 'job', 'queue', 'ended', 'history', 'rejected']) $('h' + k).textContent = T[k];
$('title').textContent = 'Inkvale · ' + T.title;
document.title = 'Inkvale · ' + T.title;
function post(path, body) {
  return fetch(path, {method: 'POST', credentials: 'same-origin',
    headers: {'Content-Type': 'application/json'}, body: body ? JSON.stringify(body) : ''});
}
document.addEventListener('click', (e) => {
  const b = e.target.closest('button[data-post]');
  if (b) post(b.dataset.post);
});
document.addEventListener('change', (e) => {
  const i = e.target.closest('input[data-task]');
  if (i) post('/api/tasks/' + i.dataset.task + '/copies', {copies: Number(i.value)});
});
function controls(st) {
  const auto = T.auto + ': <b id="auto">' + esc(st.auto ? T.on : T.off) + '</b>';
  if (!FIRST.signedIn) {
    if (!$('signin')) $('controls').innerHTML = '<span id="autotext"></span> <form id="signin" ' +
      'method="post" action="/api/login"><input type="password" name="token" placeholder="' +
      esc(T.token) + '"><button type="submit">' + esc(T.signin) + '</button></form>';
    $('autotext').innerHTML = auto;
    return;
  }
  $('controls').innerHTML = auto + ' <button data-post="/api/auto/' + (st.auto ? 'off' : 'on') + '">' +
    esc(st.auto ? T.off : T.on) + '</button> <button data-post="/api/machine/pause">' + esc(T.pause) +
    '</button><button data-post="/api/machine/resume">' + esc(T.resume) +
    '</button><button data-post="/api/machine/stop">' + esc(T.stop) + '</button>';
}
function taskRow(t) {
  const copies = FIRST.signedIn ? '<input type="number" min="0" max="9999" data-task="' + t.id +
    '" value="' + t.copies + '"> <button data-post="/api/tasks/' + t.id + '/' +
    (t.queued ? 'unqueue' : 'queue') + '">' + (t.queued ? '✓ ' : '') + esc(T.queued) + '</button>' : t.copies;
  return '<tr class="task"' + (t.printing ? ' data-printing="1"' : '') + '><td><img loading="lazy" src="/api/thumbnail/' +
    t.id + '.png" alt=""></td><td>' + esc(t.name) + '<br>' + Math.round(t.length_mm) + ' × ' +
    Math.round(t.width_mm) + ' mm · ' + hms(t.time_s) + (t.warnings.length || t.problem ?
    '<div class="warn">' + esc([t.problem].concat(t.warnings).filter((w) => w).join(' · ')) + '</div>' : '') +
    '</td><td>' + esc(T.copies) + ' ' + copies + '</td></tr>';
}
function show(st) {
  const m = st.machine;
  $('machine').innerHTML = '<span class="' + (m.state == 1 ? 'ready' : (m.state >= 7 ? 'fault' : '')) +
    '">' + esc(m.online ? m.text : T.offline) + '</span>';
  controls(st);
  if (st.job) {
    $('job').innerHTML = '<div id="jobname">' + esc(st.job.task) + ' · ' + st.job.bands_done + ' / ' +
      st.job.bands + ' · ' + esc(T.left) + ' ' + (st.job.seconds_left >= 0 ? hms(st.job.seconds_left) : '--') +
      '</div><div class="bar"><div id="progress" style="width:' + st.job.percent + '%"></div></div>';
  } else {
    $('job').textContent = T.nojob;
  }
  $('queue').innerHTML = st.queue.length == 0 ? '<tr><td>' + esc(T.empty) + '</td></tr>' :
    st.queue.map(taskRow).join('');
  $('queue').querySelectorAll('img').forEach((i) => i.addEventListener('error', () => i.remove()));
  $('totals').innerHTML = '<span class="muted">' + esc(T.totals) + ': ' + st.totals.tasks + ' · ' +
    st.totals.paper_m.toFixed(1) + ' m · ' + hms(st.totals.time_s) + '</span>';
  $('ended').innerHTML = st.ended.map((j) => '<tr class="ended"><td>' + esc(j.time) + '</td><td>' +
    esc(j.task) + '</td><td>' + esc(T[j.outcome] || j.outcome) + '</td><td>' + hms(j.seconds) +
    '</td></tr>').join('');
  HISTORY_ON = st.history_enabled;
}
let HISTORY_ON = FIRST.status.history_enabled;
function showHistory(h) {
  $('history').innerHTML = !HISTORY_ON ? '<tr><td class="muted">' + esc(T.nohistory) + '</td></tr>' :
    h.map((r) => '<tr class="done"><td>' + esc(r.time) + '</td><td>' +
    esc(r.path.split('/').pop()) + '</td></tr>').join('');
}
function showRejected(h) {
  $('rejected').innerHTML = h.map((r) => '<tr class="rejected"><td>' + esc(r.name) +
    '</td><td class="warn">' + esc(r.why) + '</td></tr>').join('');
}
function lists() {
  fetch('/api/history').then((r) => r.json()).then(showHistory);
  fetch('/api/rejected').then((r) => r.json()).then(showRejected);
}
show(FIRST.status);
showHistory(FIRST.history);
showRejected(FIRST.rejected);
document.body.dataset.ready = '1';
const events = new EventSource('/api/events');
events.onmessage = (e) => show(JSON.parse(e.data));
setInterval(lists, 3000);
</script></body></html>
)JS";

constexpr const char* kSignIn = R"HTML(<header id="title">Inkvale</header>
<section><form method="post" action="/api/login">
<label><span id="ltoken"></span> <input type="password" name="token" autocomplete="current-password"></label>
<button type="submit" id="lsubmit"></button> <span class="warn" id="lwrong"></span></form></section>
<script>
$ = (id) => document.getElementById(id);
$('ltoken').textContent = T.token;
$('lsubmit').textContent = T.signin;
if (WRONG) $('lwrong').textContent = T.wrong;
</script></body></html>
)HTML";

// JSON put inside a script element: nothing in it may end the element, open a comment or
// break a line for an older parser. Outside strings the JSON has none of these, so every
// one of them can be escaped wherever it is.
std::string ForScript(const std::string& strJson) {
    std::string s;
    s.reserve(strJson.size());
    for (size_t i = 0; i < strJson.size(); ++i) {
        const char c = strJson[i];
        if (c == '<')
            s += "\\u003c";
        else if (c == '>')
            s += "\\u003e";
        else if (c == '&')
            s += "\\u0026";
        else if (c == '\xe2' && i + 2 < strJson.size() && strJson[i + 1] == '\x80' &&
                 (strJson[i + 2] == '\xa8' || strJson[i + 2] == '\xa9')) {
            s += strJson[i + 2] == '\xa8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else
            s += c;
    }
    return s;
}

} // namespace

std::string StatusPageHtml(const std::string& strStatus, const std::string& strHistory,
                           const std::string& strRejected, bool bSignedIn) {
    return std::string(kStyle) + kBody + TextsScript() +
           "\nconst FIRST = {status: " + ForScript(strStatus) +
           ", history: " + ForScript(strHistory) + ", rejected: " + ForScript(strRejected) +
           ", signedIn: " + (bSignedIn ? "true" : "false") + "};" + kScript;
}

std::string SignInPageHtml(bool bWrongToken) {
    return std::string(kStyle) + "<script>" + TextsScript() +
           "\nconst WRONG = " + (bWrongToken ? "true" : "false") + ";</script>" + kSignIn;
}

} // namespace inkvale::service
