<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="az_AZ" sourcelanguage="zh_CN">
<context>
    <name>CCommandBar</name>
    <message>
        <source>添加</source>
        <translation>Əlavə</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Başla</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Fasilə</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Dayandır</translation>
    </message>
    <message>
        <source>复位</source>
        <translation>Sıfırla</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Sil</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Saxla</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Artır</translation>
    </message>
    <message>
        <source>减少</source>
        <translation>Azalt</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Döndər</translation>
    </message>
    <message>
        <source>左走</source>
        <translation>Sola</translation>
    </message>
    <message>
        <source>右走</source>
        <translation>Sağa</translation>
    </message>
    <message>
        <source>进纸</source>
        <translation>İrəli</translation>
    </message>
    <message>
        <source>退纸</source>
        <translation>Geri</translation>
    </message>
    <message>
        <source>测试</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>偏移</source>
        <translation>Sürüşmə</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Ayarlar</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parametr</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Avtomatik</translation>
    </message>
    <message>
        <source>语言设置改变，重启生效</source>
        <translation>Dil dəyişdi, yenidən başladanda qüvvəyə minir</translation>
    </message>
    <message>
        <source>添加plt</source>
        <translation>plt əlavə et</translation>
    </message>
    <message>
        <source>保存plt</source>
        <translation>plt saxla</translation>
    </message>
    <message>
        <source>小车向左</source>
        <translation>Karetka sola</translation>
    </message>
    <message>
        <source>小车向右</source>
        <translation>Karetka sağa</translation>
    </message>
    <message>
        <source>送纸</source>
        <translation>Kağız ver</translation>
    </message>
    <message>
        <source>测试喷头</source>
        <translation>Başlıq testi</translation>
    </message>
    <message>
        <source>设置起喷偏移</source>
        <translation>Başlanğıc sürüşməsi</translation>
    </message>
    <message>
        <source>适合</source>
        <translation>Pəncərəyə sığdır</translation>
    </message>
    <message>
        <source>设置起喷点</source>
        <translation>Başlanğıc nöqtəsi</translation>
    </message>
    <message>
        <source>移动视图</source>
        <translation>Görünüşü sürüşdür</translation>
    </message>
    <message>
        <source>选择线条</source>
        <translation>Xətləri seç</translation>
    </message>
    <message>
        <source>移动线条</source>
        <translation>Xətləri sürüşdür</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Davam et</translation>
    </message>
</context>
<context>
    <name>CDlgFieldReader</name>
    <message>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Zəhmət olmasa, %1 ilə %2 arasında tam ədəd daxil edin.</translation>
    </message>
    <message>
        <source>请输入一个 %1 至 %2 之间的数字。</source>
        <translation>Zəhmət olmasa, %1 ilə %2 arasında ədəd daxil edin.</translation>
    </message>
    <message>
        <source>%1(%2~%3)</source>
        <translation>%1 (%2~%3)</translation>
    </message>
    <message>
        <source>%1(%2~%3%4)</source>
        <translation>%1 (%2~%3 %4)</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>CInkvaleApp</name>
    <message>
        <source>无法使用锁文件 %1：%2。无法确定程序是否已经在运行，因此程序不会启动。</source>
        <translation>Kilid faylı %1 istifadə edilə bilmir: %2. Proqramın artıq işləyib-işləmədiyini müəyyən etmək mümkün deyil, buna görə proqram başladılmayacaq.</translation>
    </message>
    <message>
        <source>无法在本地套接字 %1 上监听：%2。程序不会启动。</source>
        <translation>Yerli soket %1 dinlənilə bilmir: %2. Proqram başladılmayacaq.</translation>
    </message>
    <message>
        <source>无法使用安装目录 %1：%2。--home 必须指向一个已存在且可写入的目录；程序不会启动。</source>
        <translation>Quraşdırma qovluğu %1 istifadə edilə bilmir: %2. --home mövcud və yazıla bilən bir qovluğu göstərməlidir; proqram başlamır.</translation>
    </message>
</context>
<context>
    <name>CMainWindow</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;Fayl</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Aç</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Sil</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>Çı&amp;xış</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;Görünüş</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>Pəncərəyə sığdır</translation>
    </message>
    <message>
        <source>控制面板</source>
        <translation>İdarəetmə paneli</translation>
    </message>
    <message>
        <source>隐藏</source>
        <translation>Gizlət</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>&amp;Ayarlar</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>Sistem ayarları</translation>
    </message>
    <message>
        <source>机器参数</source>
        <translation>Cihaz parametrləri</translation>
    </message>
    <message>
        <source>绘图单位</source>
        <translation>Plotter vahidləri</translation>
    </message>
    <message>
        <source>通讯(&amp;C)</source>
        <translation>&amp;Rabitə</translation>
    </message>
    <message>
        <source>网口</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>免驱USB(USB打印支持)</source>
        <translation>Drayversiz USB (USB çap)</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Kömək</translation>
    </message>
    <message>
        <source>关于(&amp;A)...</source>
        <translation>&amp;Haqqında...</translation>
    </message>
    <message>
        <source>此开发版本只能连接本机回环网络 (127.0.0.0/8)，无法连接 %1；请用 package 预设构建 (cmake --preset package) 以连接真实的绘图仪。</source>
        <translation>Bu inkişaf quruluşu yalnız geri dönmə şəbəkəsinə (127.0.0.0/8) qoşulur, %1 ünvanına qoşulmur; real plotterə qoşulmaq üçün package ön ayarı ilə yığın (cmake --preset package).</translation>
    </message>
    <message>
        <source>打开任务文件...</source>
        <translation>Tapşırıq faylını aç...</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Redaktə</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Geri al</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Təkrarla</translation>
    </message>
    <message>
        <source>打开保存的打印任务</source>
        <translation>Saxlanmış çap tapşırıqlarını aç</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Dayandır</translation>
    </message>
    <message>
        <source>在第 %1 / %2 条带处中断（已打印 %3 米，共 %4 米）</source>
        <translation>%2 zolağın %1-ci zolağında dayandı (%4 m-dən %3 m çap olunub)</translation>
    </message>
    <message>
        <source>%1 的打印没有完成。</source>
        <translation>%1 çapı başa çatmadı.</translation>
    </message>
    <message>
        <source>原因：%1</source>
        <translation>Səbəb: %1</translation>
    </message>
    <message>
        <source>从第 %1 / %2 条带继续</source>
        <translation>%2 zolağın %1-ci zolağından davam et</translation>
    </message>
    <message>
        <source>从头打印</source>
        <translation>Əvvəldən çap et</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>İmtina et</translation>
    </message>
    <message>
        <source>中断的作业</source>
        <translation>Dayandırılmış iş</translation>
    </message>
    <message>
        <source>%1 × %2 mm，%3 个条带，用纸 %4 米，约 %5</source>
        <translation>%1 × %2 mm, %3 zolaq, %4 m kağız, təxminən %5</translation>
    </message>
    <message>
        <source>墨水 (ml)：%1 / %2 / %3 / %4</source>
        <translation>Mürəkkəb (ml): %1 / %2 / %3 / %4</translation>
    </message>
    <message>
        <source>%1 个任务 · %2 米 · %3 · 墨水 %4 ml</source>
        <translation>%1 tapşırıq · %2 m · %3 · mürəkkəb %4 ml</translation>
    </message>
    <message>
        <source>保存任务文件...</source>
        <translation>Tapşırıq faylını saxla...</translation>
    </message>
    <message>
        <source>欢迎使用喷墨绘图仪</source>
        <translation>Mürəkkəb çiziciyə xoş gəlmisiniz</translation>
    </message>
    <message>
        <source>停止这个任务并关闭自动打印吗？
还有 %1 带没有打印。</source>
        <translation>Bu iş dayandırılsın və avtomatik çap söndürülsün?
Hələ çap olunmamış zolaq sayı: %1.</translation>
    </message>
    <message>
        <source>机器状态</source>
        <translation>Cihazın vəziyyəti</translation>
    </message>
    <message>
        <source>等待</source>
        <translation>Gözlə</translation>
    </message>
    <message>
        <source>还有 %1 个未完成的作业。</source>
        <translation>Daha %1 bitməmiş iş var.</translation>
    </message>
    <message>
        <source>保留</source>
        <translation>Saxla</translation>
    </message>
</context>
<context>
    <name>CQtPreviewPrompts</name>
    <message>
        <source>输入</source>
        <translation>Daxiletmə</translation>
    </message>
</context>
<context>
    <name>JobStatus</name>
    <message>
        <source>约 %1 分钟</source>
        <translation>təxminən %1 dəq</translation>
    </message>
    <message>
        <source>，剩余%1</source>
        <translation>, %1 qalıb</translation>
    </message>
    <message>
        <source>，还有 %1 份</source>
        <translation>, daha %1 nüsxə</translation>
    </message>
    <message>
        <source>已暂停 — %1</source>
        <translation>Dayandırılıb — %1</translation>
    </message>
    <message>
        <source>已暂停 %1</source>
        <translation>dayandırılıb %1</translation>
    </message>
    <message>
        <source>，绘图仪自 %1 起无响应</source>
        <translation>, plotter %1-dən bəri cavab vermir</translation>
    </message>
    <message>
        <source>等待绘图仪</source>
        <translation>Plotter gözlənilir</translation>
    </message>
    <message>
        <source>第 %1/%2 带（从第 %3 带继续）</source>
        <translation>zolaq %1/%2 (%3-dən davam)</translation>
    </message>
    <message>
        <source>第 %1/%2 带</source>
        <translation>zolaq %1/%2</translation>
    </message>
    <message>
        <source>%1：%2，已打印 %3 m / %4 m</source>
        <translation>%1: %2, %3 m / %4 m çap olundu</translation>
    </message>
</context>
<context>
    <name>ListTexts</name>
    <message>
        <source>打印中</source>
        <translation>Çap olunur</translation>
    </message>
    <message>
        <source>等待打印</source>
        <translation>Gözləyir</translation>
    </message>
    <message>
        <source>手动目录</source>
        <translation>Əl qovluğu</translation>
    </message>
    <message>
        <source>自动目录</source>
        <translation>Avto qovluq</translation>
    </message>
    <message>
        <source>手动打开</source>
        <translation>Əl ilə</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>文件打开失败!</source>
        <translation>Fayl açıla bilmədi!</translation>
    </message>
    <message>
        <source>重复打开</source>
        <translation>Fayl artıq açıqdır</translation>
    </message>
    <message>
        <source>文件大小超出限制</source>
        <translation>Faylın ölçüsü həddi aşır</translation>
    </message>
    <message>
        <source>超出机器幅宽！请重新设置右边据和纸张宽度！</source>
        <translation>İş maşının çap enindən böyükdür! Sağ kənar boşluğunu və kağızın enini yenidən təyin edin!</translation>
    </message>
    <message>
        <source>意外的文件格式。</source>
        <translation>Gözlənilməz fayl formatı.</translation>
    </message>
    <message>
        <source>读取 %1 时发生了错误。</source>
        <translation>%1 oxunarkən xəta baş verdi.</translation>
    </message>
    <message>
        <source>设置文件无法读取，已保留为 %1。程序正在使用默认设置（包括机器的 IP 地址），请检查设置。</source>
        <translation>Parametrlər faylı oxuna bilmədi və %1 kimi saxlanıldı. Proqram standart parametrlərlə işləyir (maşının IP ünvanı daxil olmaqla); parametrləri yoxlayın.</translation>
    </message>
    <message>
        <source>由于输入的段长太短，分割失败！</source>
        <translation>Hissə uzunluğu çox qısadır, bölmə alınmadı!</translation>
    </message>
    <message>
        <source>分割段长 %1 mm 不短于图形长度 %2 mm，没有分割。</source>
        <translation>%1 mm bölmə uzunluğu çertyojdan (%2 mm) qısa deyil; heç nə bölünmədi.</translation>
    </message>
    <message>
        <source>对话框打开期间该任务已被删除或替换，没有执行操作。</source>
        <translation>Dialoq açıq olarkən tapşırıq silindi və ya dəyişdirildi; heç nə edilmədi.</translation>
    </message>
    <message>
        <source>没有选中任务，没有打印。</source>
        <translation>Heç bir tapşırıq seçilməyib; heç nə çap edilmədi.</translation>
    </message>
    <message>
        <source>选中的任务已不在列表中，没有打印。</source>
        <translation>Seçilmiş tapşırıq artıq siyahılarda deyil; heç nə çap edilmədi.</translation>
    </message>
    <message>
        <source>%1 已不在文件夹中或已被改写，没有打印。</source>
        <translation>%1 oxunduğu kimi artıq qovluqda deyil (silinib və ya yenidən yazılıb); çap edilmədi.</translation>
    </message>
    <message>
        <source>自动文件夹中的 %1 无法打印，已移到 %2，旁边的文本文件说明了原因。</source>
        <translation>Avtomatik qovluqdakı %1 çap edilə bilmir. %2 yerinə köçürüldü; yanındakı mətn faylı səbəbini deyir.</translation>
    </message>
    <message>
        <source>%1 无法打印，也无法移到 Rejected 文件夹（%2）。文件保留在原处。</source>
        <translation>%1 çap edilə bilmir və Rejected qovluğuna köçürülə bilmədi (%2). Fayl yerində qalır.</translation>
    </message>
    <message>
        <source>%1 有 %2 MB，超过了 %3 MB 的文件大小限制。</source>
        <translation>%1 %2 MB-dır, %3 MB fayl ölçüsü həddindən çoxdur.</translation>
    </message>
    <message>
        <source>机器没有应答：请检查电源、网线或 USB 线，以及机器的地址。</source>
        <translation>Maşın cavab vermir: qidalanmanı, şəbəkə və ya USB kabelini və maşının ünvanını yoxlayın.</translation>
    </message>
    <message>
        <source>机器还没有准备就绪。</source>
        <translation>Maşın hələ hazır deyil.</translation>
    </message>
    <message>
        <source>正在打印任务，请等它结束。</source>
        <translation>Tapşırıq çap olunur; bitməsini gözləyin.</translation>
    </message>
    <message>
        <source>没有正在打印的任务可以暂停。</source>
        <translation>Dayandırıla biləcək çap olunan tapşırıq yoxdur.</translation>
    </message>
    <message>
        <source>没有可以停止的任务。</source>
        <translation>Saxlanıla biləcək tapşırıq yoxdur.</translation>
    </message>
    <message>
        <source>%1 无法作为图形读取。</source>
        <translation>%1 çertyoj kimi oxuna bilmir.</translation>
    </message>
    <message>
        <source>%1 中没有可以打印的内容（例如只有 HP-GL/2 光栅数据）。</source>
        <translation>%1 çap edilə biləcək heç nə saxlamır (məsələn, yalnız HP-GL/2 raster məlumatı).</translation>
    </message>
    <message>
        <source>%1 的图形远宽于纸卷，请检查绘图单位设置。</source>
        <translation>%1 çertyoju rulondan xeyli genişdir; çizim vahidi ayarlarını yoxlayın.</translation>
    </message>
    <message>
        <source>作业开始后 %1 已被修改，无法继续打印。请从头打印。</source>
        <translation>%1 iş başlayandan sonra dəyişib, ona görə davam etdirilə bilməz. Əvvəldən çap edin.</translation>
    </message>
    <message>
        <source>作业开始后机器的喷头参数已更改，无法继续打印。请从头打印。</source>
        <translation>Maşının başlıq parametrləri iş başlayandan sonra dəyişib, ona görə davam etdirilə bilməz. Əvvəldən çap edin.</translation>
    </message>
    <message>
        <source>无法继续中断的作业：%1</source>
        <translation>Dayandırılmış işə davam etmək olmur: %1</translation>
    </message>
    <message>
        <source>%1 的尺寸为 %2，不像是唛架；乘以 %3 后为 %4。请检查单位设置：%5</source>
        <translation>%1 ölçüsü %2, marker üçün ehtimal olunmur; %3 miqyasında %4 olardı. Vahid ayarını yoxlayın: %5</translation>
    </message>
    <message>
        <source>%1 的尺寸为 %2，不像是唛架，请检查单位设置。</source>
        <translation>%1 ölçüsü %2, marker üçün ehtimal olunmur; vahid ayarlarını yoxlayın.</translation>
    </message>
    <message>
        <source>%1 有部分图形在纸张之外（X 或 Y 小于 0）。</source>
        <translation>%1 faylının bəzi hissələri kağızdan kənardadır (X və ya Y 0-dan kiçik).</translation>
    </message>
    <message>
        <source>%1 与 %2 的文件内容相同。</source>
        <translation>%1 ilə %2 eyni məzmuna malikdir.</translation>
    </message>
    <message>
        <source>上次保存的任务列表无法读取，已另存为 %1；任务列表为空。</source>
        <translation>Saxlanmış tapşırıq siyahıları oxuna bilmədi və %1 kimi kənara qoyuldu; siyahılar boş başlayır.</translation>
    </message>
    <message>
        <source>%1 中只有文字，没有裁片轮廓。</source>
        <translation>%1 yalnız mətndən ibarətdir: hissə konturları yoxdur.</translation>
    </message>
    <message>
        <source>%1 中有以下内容未绘制：%2。</source>
        <translation>%1 içində çəkilməyənlər var: %2.</translation>
    </message>
    <message>
        <source>%1 宽 %2 mm，超出机器可打印宽度 %3 mm。请在 系统设置 ▸ 绘图设置 中勾选“启用分页”，并把“分页宽度”设为不超过 %3 mm。</source>
        <translation>%1 %2 mm enindədir; maşın ən çox %3 mm çap edir. Sistem ayarları ▸ rəsm parametrləri bölməsində “Enli rəsmləri böl” seçin və zolaq enini ən çox %3 mm edin.</translation>
    </message>
    <message>
        <source>无法写入作业记录，作业不能继续：%1</source>
        <translation>İşin qeydi yazıla bilmir, ona görə iş davam etmir: %1</translation>
    </message>
    <message>
        <source>绘图仪仍停在中断的作业中；请在绘图仪上或在此处按停止。</source>
        <translation>Plotter hələ də dayandırılmış işdədir; plotterdə və ya burada Dayandır düyməsini basın.</translation>
    </message>
    <message>
        <source>任务列表无法保存（%1）；稍后将再次尝试。</source>
        <translation>Tapşırıq siyahıları saxlanıla bilmədi (%1); yenidən cəhd ediləcək.</translation>
    </message>
    <message>
        <source>%1 的作业没有完成；在继续或放弃它之前不会打印其他任务。</source>
        <translation>%1 işi bitmədi; davam etdirilənə və ya atılana qədər başqa heç nə çap edilmir.</translation>
    </message>
</context>
<context>
    <name>OperatorText</name>
    <message>
        <source>文件已不存在（被移走或删除）</source>
        <translation>fayl artıq yoxdur (köçürülüb və ya silinib)</translation>
    </message>
    <message>
        <source>没有读取这个文件的权限</source>
        <translation>faylı oxumağa icazə yoxdur</translation>
    </message>
    <message>
        <source>文件是空的或太短</source>
        <translation>fayl boşdur və ya çox qısadır</translation>
    </message>
    <message>
        <source>文件超过 32 MB</source>
        <translation>fayl 32 MB-dan böyükdür</translation>
    </message>
    <message>
        <source>文件内容无法作为 HP-GL 读取</source>
        <translation>məzmunu HP-GL kimi oxunmur</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>ServicePage</name>
    <message>
        <source>绘图仪</source>
        <translation>Plotter</translation>
    </message>
    <message>
        <source>机器</source>
        <translation>Maşın</translation>
    </message>
    <message>
        <source>正在打印</source>
        <translation>İndi çap olunur</translation>
    </message>
    <message>
        <source>没有正在打印的作业</source>
        <translation>Çap olunan iş yoxdur</translation>
    </message>
    <message>
        <source>剩余时间</source>
        <translation>qalan vaxt</translation>
    </message>
    <message>
        <source>任务列表</source>
        <translation>Növbə</translation>
    </message>
    <message>
        <source>列表为空</source>
        <translation>Növbə boşdur</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>nüsxə</translation>
    </message>
    <message>
        <source>最近打印</source>
        <translation>Son çap olunanlar</translation>
    </message>
    <message>
        <source>被拒绝的文件</source>
        <translation>Rədd edilmiş fayllar</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>qoşulmayıb</translation>
    </message>
    <message>
        <source>正在启动</source>
        <translation>Başladılır</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Hazırdır</translation>
    </message>
    <message>
        <source>清洗中</source>
        <translation>Təmizlənir</translation>
    </message>
    <message>
        <source>处理中</source>
        <translation>Emal olunur</translation>
    </message>
    <message>
        <source>打印中</source>
        <translation>Çap olunur</translation>
    </message>
    <message>
        <source>收尾中</source>
        <translation>Tamamlanır</translation>
    </message>
    <message>
        <source>已暂停</source>
        <translation>Dayandırılıb</translation>
    </message>
    <message>
        <source>内存错误</source>
        <translation>Yaddaş xətası</translation>
    </message>
    <message>
        <source>复位超时</source>
        <translation>Sıfırlama vaxtı bitdi</translation>
    </message>
    <message>
        <source>小车超时</source>
        <translation>Karetka vaxtı bitdi</translation>
    </message>
    <message>
        <source>无应答</source>
        <translation>Cavab yoxdur</translation>
    </message>
    <message>
        <source>自动打印</source>
        <translation>Avtomatik çap</translation>
    </message>
    <message>
        <source>开</source>
        <translation>Açıq</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Bağlı</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Fasilə</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Davam et</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Dayandır</translation>
    </message>
    <message>
        <source>排队</source>
        <translation>Növbəyə al</translation>
    </message>
    <message>
        <source>合计</source>
        <translation>Cəmi</translation>
    </message>
    <message>
        <source>已结束的作业</source>
        <translation>Bitmiş işlər</translation>
    </message>
    <message>
        <source>已打印</source>
        <translation>çap edildi</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>dayandırıldı</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>uğursuz</translation>
    </message>
    <message>
        <source>历史记录未开启 (HistoryEnable=0)</source>
        <translation>Tarixçə söndürülüb (HistoryEnable=0)</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Daxil ol</translation>
    </message>
    <message>
        <source>令牌</source>
        <translation>Token</translation>
    </message>
    <message>
        <source>令牌错误</source>
        <translation>Yanlış token</translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <source>鼠标:</source>
        <translation>Siçan:</translation>
    </message>
    <message>
        <source>绘图仪IP:</source>
        <translation>Çizici IP:</translation>
    </message>
    <message>
        <source>本地IP:</source>
        <translation>Yerli IP:</translation>
    </message>
</context>
<context>
    <name>UndoSteps</name>
    <message>
        <source>添加</source>
        <translation>Əlavə et</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Sil</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>Nüsxələr</translation>
    </message>
    <message>
        <source>排队</source>
        <translation>Növbəyə qoy</translation>
    </message>
    <message>
        <source>取消排队</source>
        <translation>Növbədən çıxar</translation>
    </message>
    <message>
        <source>合并</source>
        <translation>Birləşdir</translation>
    </message>
    <message>
        <source>分割</source>
        <translation>Böl</translation>
    </message>
    <message>
        <source>镜像</source>
        <translation>Güzgü</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Döndər</translation>
    </message>
    <message>
        <source>打开任务文件</source>
        <translation>Tapşırıq faylını aç</translation>
    </message>
    <message>
        <source>移动</source>
        <translation>Köçür</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Redaktə</translation>
    </message>
    <message>
        <source>(%1 个任务)</source>
        <translation>(%1 tapşırıq)</translation>
    </message>
</context>
<context>
    <name>inkvale::CAboutDialog</name>
    <message>
        <source>关于Inkvale</source>
        <translation>Inkvale haqqında</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>inkvale::CPasswordDialog</name>
    <message>
        <source>输入</source>
        <translation>Daxiletmə</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>请输入密码:</source>
        <translation>Zəhmət olmasa, parolu daxil edin:</translation>
    </message>
</context>
<context>
    <name>inkvale::CMachineParamsDialog</name>
    <message>
        <source>机器设置</source>
        <translation>Cihaz ayarları</translation>
    </message>
    <message>
        <source>喷头参数</source>
        <translation>Başlıqlar</translation>
    </message>
    <message>
        <source>喷头组合：</source>
        <translation>Başlıq qarışığı:</translation>
    </message>
    <message>
        <source>双向打印</source>
        <translation>İki istiqamətli çap</translation>
    </message>
    <message>
        <source>平板打印（打完回纸）</source>
        <translation>Düz masa (çapdan sonra kağız geri)</translation>
    </message>
    <message>
        <source>左列出墨</source>
        <translation>Sol sütundan mürəkkəb</translation>
    </message>
    <message>
        <source>右列出墨</source>
        <translation>Sağ sütundan mürəkkəb</translation>
    </message>
    <message>
        <source>精打模式</source>
        <translation>Dəqiq rejim</translation>
    </message>
    <message>
        <source>边线调整</source>
        <translation>Kənar tənzimləməsi</translation>
    </message>
    <message>
        <source>机械参数</source>
        <translation>Mexanika</translation>
    </message>
    <message>
        <source>走纸轴步长基准</source>
        <translation>Kağız ötürmə valının addım bazası</translation>
    </message>
    <message>
        <source>裁断功能</source>
        <translation>Kəsici</translation>
    </message>
    <message>
        <source>裁断刀压</source>
        <translation>Kəsici təzyiqi</translation>
    </message>
    <message>
        <source>第1刀</source>
        <translation>Bıçaq 1</translation>
    </message>
    <message>
        <source>第2刀</source>
        <translation>Bıçaq 2</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>İlkin ayarlar</translation>
    </message>
    <message>
        <source>截图保存</source>
        <translation>Ekran şəklini saxla</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Ləğv et</translation>
    </message>
    <message>
        <source>喷头1</source>
        <translation>başlıq 1</translation>
    </message>
    <message>
        <source>喷头2</source>
        <translation>başlıq 2</translation>
    </message>
    <message>
        <source>喷头3</source>
        <translation>başlıq 3</translation>
    </message>
    <message>
        <source>喷头4</source>
        <translation>başlıq 4</translation>
    </message>
    <message>
        <source>左</source>
        <translation>sol</translation>
    </message>
    <message>
        <source>右</source>
        <translation>sağ</translation>
    </message>
    <message>
        <source>起点</source>
        <translation>başlanğıc</translation>
    </message>
    <message>
        <source>终点</source>
        <translation>son</translation>
    </message>
    <message>
        <source>Pix</source>
        <translation>pix</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>喷头之间X向重合点数</source>
        <translation>Başlıqların X üzrə örtüşməsi</translation>
    </message>
    <message>
        <source>1#2#之间</source>
        <translation>1#-2#</translation>
    </message>
    <message>
        <source>2#3#之间</source>
        <translation>2#-3#</translation>
    </message>
    <message>
        <source>3#4#之间</source>
        <translation>3#-4#</translation>
    </message>
    <message>
        <source>喷头位置</source>
        <translation>Başlıq mövqeyi</translation>
    </message>
    <message>
        <source>回来接线</source>
        <translation>Qayıdış birləşməsi</translation>
    </message>
    <message>
        <source>点火脉宽</source>
        <translation>Atəşləmə impulsunun eni</translation>
    </message>
    <message>
        <source>微秒</source>
        <translation>µs</translation>
    </message>
    <message>
        <source>喷头左右两列间距</source>
        <translation>Başlığın iki sütunu arasındakı məsafə</translation>
    </message>
    <message>
        <source>缓冲距离</source>
        <translation>Bufer məsafəsi</translation>
    </message>
    <message>
        <source>边距</source>
        <translation>Kənar boşluğu</translation>
    </message>
    <message>
        <source>像素</source>
        <translation>piksel</translation>
    </message>
    <message>
        <source>小车行程限制</source>
        <translation>Səbətin hərəkət həddi</translation>
    </message>
    <message>
        <source>刹车距离</source>
        <translation>Əyləc məsafəsi</translation>
    </message>
    <message>
        <source>小车起始速度</source>
        <translation>Səbətin başlanğıc sürəti</translation>
    </message>
    <message>
        <source>小车最大速度</source>
        <translation>Səbətin maksimal sürəti</translation>
    </message>
    <message>
        <source>进退纸速度</source>
        <translation>Kağız ötürmə sürəti</translation>
    </message>
</context>
<context>
    <name>inkvale::CMachineAddressDialog</name>
    <message>
        <source>网络设置</source>
        <translation>Şəbəkə ayarları</translation>
    </message>
    <message>
        <source>绘图仪IP</source>
        <translation>Plotter IP</translation>
    </message>
    <message>
        <source>提示1：将绘图仪IP的前3段和电脑IP前3段的数字设置成一样才能正常联机</source>
        <translation>Qeyd 1: plotterin IP ünvanının ilk üç ədədi bu kompüterin IP ünvanının ilk üç ədədi ilə eyni olmalıdır, əks halda bağlantı qurulmur.</translation>
    </message>
    <message>
        <source>提示2：开机时按住“暂停/启动键”3秒，机器IP会恢复为默认值 (192.168.1.175)</source>
        <translation>Qeyd 2: plotteri yandırarkən “Fasilə/Başla” düyməsini 3 saniyə basılı saxlamaq onun standart IP ünvanını (192.168.1.175) bərpa edir.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Ləğv et</translation>
    </message>
</context>
<context>
    <name>inkvale::COffsetDialog</name>
    <message>
        <source>左偏移设定</source>
        <translation>Sol sürüşmə</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Ləğv et</translation>
    </message>
    <message>
        <source>左偏移</source>
        <translation>Sol sürüşmə</translation>
    </message>
</context>
<context>
    <name>inkvale::CHpglUnitDialog</name>
    <message>
        <source>下次打开plt时不弹出此对话框</source>
        <translation>Növbəti plt faylı açılanda bu pəncərəni göstərmə</translation>
    </message>
    <message>
        <source>plt文件单位</source>
        <translation>PLT fayl vahidi</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Ləğv et</translation>
    </message>
    <message>
        <source>绘图单位</source>
        <translation>Plotter vahidləri</translation>
    </message>
</context>
<context>
    <name>inkvale::CSettingsDialog</name>
    <message>
        <source>系统设置</source>
        <translation>Sistem ayarları</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Ləğv et</translation>
    </message>
</context>
<context>
    <name>inkvale::CPreviewView</name>
    <message>
        <source>适合整个图形</source>
        <translation>Bütün çertyoju sığdır</translation>
    </message>
</context>
<context>
    <name>inkvale::CLoadProgress</name>
    <message>
        <source>正在读取 %1 ...</source>
        <translation>%1 oxunur ...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Ləğv et</translation>
    </message>
</context>
<context>
    <name>inkvale::CUserSettingsPage</name>
    <message>
        <source>手动打开时文件过滤</source>
        <translation>Əlavə zamanı göstərilən fayllar</translation>
    </message>
    <message>
        <source>所有文件(*.*)</source>
        <translation>Bütün fayllar (*.*)</translation>
    </message>
    <message>
        <source>HPGL文件(*.p*;*.h*;*.spl)</source>
        <translation>HP-GL faylları (*.p*;*.h*;*.spl)</translation>
    </message>
    <message>
        <source>dxf文件(*.dxf)</source>
        <translation>DXF faylları (*.dxf)</translation>
    </message>
    <message>
        <source>支持的文件(*.p*;*.h*;*.spl;*.dxf)</source>
        <translation>Dəstəklənən fayllar (*.p*;*.h*;*.spl;*.dxf)</translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation>Fon rəngi</translation>
    </message>
    <message>
        <source>坐标和外框颜色</source>
        <translation>Oxlar və çərçivə rəngi</translation>
    </message>
    <message>
        <source>网格颜色</source>
        <translation>Tor rəngi</translation>
    </message>
    <message>
        <source>线条颜色</source>
        <translation>Xətt rəngi</translation>
    </message>
    <message>
        <source>文件添加到列表后自动预览</source>
        <translation>Siyahıya əlavə olunan faylı önizlə</translation>
    </message>
    <message>
        <source>自动删除份数为0的项</source>
        <translation>0 nüsxəli elementləri avtomatik sil</translation>
    </message>
    <message>
        <source>在图形结尾打印文件名</source>
        <translation>Rəsmin sonunda fayl adını çap et</translation>
    </message>
    <message>
        <source>打印开始前清洗喷头</source>
        <translation>Çapdan əvvəl başlıqları təmizlə</translation>
    </message>
    <message>
        <source>分页指令处理方式</source>
        <translation>Səhifə əmrinin emalı</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Tətbiq et</translation>
    </message>
    <message>
        <source>喷头清洗浓度</source>
        <translation>Başlıq təmizləmə intensivliyi</translation>
    </message>
    <message>
        <source>方式1</source>
        <translation>Üsul 1</translation>
    </message>
    <message>
        <source>方式2</source>
        <translation>Üsul 2</translation>
    </message>
</context>
<context>
    <name>inkvale::CDirectorySettingsPage</name>
    <message>
        <source>手动目录</source>
        <translation>Əl ilə kataloq</translation>
    </message>
    <message>
        <source>自动目录</source>
        <translation>Avtomatik kataloq</translation>
    </message>
    <message>
        <source>备份目录</source>
        <translation>Ehtiyat kataloqu</translation>
    </message>
    <message>
        <source>打印历史</source>
        <translation>Çap tarixçəsi</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Dəyiş...</translation>
    </message>
    <message>
        <source>自动备份已打印的文件</source>
        <translation>Çap edilən faylları ehtiyatla</translation>
    </message>
    <message>
        <source>保存打印历史</source>
        <translation>Çap tarixçəsini saxla</translation>
    </message>
    <message>
        <source>线条加黑</source>
        <translation>Qalın xətlər</translation>
    </message>
    <message>
        <source>文件过滤：</source>
        <translation>Fayl filtri:</translation>
    </message>
    <message>
        <source>logo设置:</source>
        <translation>Loqo mətni:</translation>
    </message>
    <message>
        <source>线条粗细设置</source>
        <translation>Xətt qalınlığı</translation>
    </message>
    <message>
        <source>像素</source>
        <translation> piksel</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Tətbiq et</translation>
    </message>
    <message>
        <source>备份目录不能是自动目录或手动目录，也不能在其中。</source>
        <translation>Ehtiyat nüsxə qovluğu avtomatik və ya əl qovluğu ola bilməz, onların içində də yerləşə bilməz.</translation>
    </message>
    <message>
        <source>没有文件模式：文件夹不会取任何文件。</source>
        <translation>Fayl nümunəsi yoxdur: qovluqlar heç bir fayl götürmür.</translation>
    </message>
    <message>
        <source>文件夹取用：%1（不区分大小写）</source>
        <translation>Qovluqların götürdüyü: %1 (böyük/kiçik hərf fərq etmir)</translation>
    </message>
</context>
<context>
    <name>inkvale::CPlotSettingsPage</name>
    <message>
        <source>比例参数存于主板</source>
        <translation>Miqyas əmsalları plotterdə saxlanılır</translation>
    </message>
    <message>
        <source>比例参数存于电脑</source>
        <translation>Miqyas əmsalları bu kompüterdə saxlanılır</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Tətbiq et</translation>
    </message>
    <message>
        <source>启用分页</source>
        <translation>Enli rəsmləri böl</translation>
    </message>
    <message>
        <source>分页前先旋转</source>
        <translation>Bölməzdən əvvəl döndər</translation>
    </message>
    <message>
        <source>是否镜像</source>
        <translation>Güzgü əksi</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Yenilə</translation>
    </message>
    <message>
        <source>设计尺寸</source>
        <translation>Dizayn ölçüsü</translation>
    </message>
    <message>
        <source>实测尺寸</source>
        <translation>Faktiki ölçü</translation>
    </message>
    <message>
        <source>比例系数</source>
        <translation>Miqyas əmsalı</translation>
    </message>
    <message>
        <source>纸长</source>
        <translation>Kağız uzunluğu</translation>
    </message>
    <message>
        <source>纸宽</source>
        <translation>Kağız eni</translation>
    </message>
    <message>
        <source>分页宽度</source>
        <translation>Zolaq eni</translation>
    </message>
    <message>
        <source>分页间距</source>
        <translation>Zolaqlar arası məsafə</translation>
    </message>
    <message>
        <source>打印前进纸</source>
        <translation>Çapdan əvvəl kağız ötürmə</translation>
    </message>
    <message>
        <source>打印后进纸</source>
        <translation>Çapdan sonra kağız ötürmə</translation>
    </message>
    <message>
        <source>Dxf文件单位</source>
        <translation>DXF fayl vahidi</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
</context>
</TS>
