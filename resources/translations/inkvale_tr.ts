<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr_TR" sourcelanguage="zh_CN">
<context>
    <name>CCommandBar</name>
    <message>
        <source>添加</source>
        <translation>Ekle</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Başlat</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Duraklat</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Durdur</translation>
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
        <translation>Kaydet</translation>
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
        <translation>Döndür</translation>
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
        <translation>İleri</translation>
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
        <translation>Ofset</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Ayarlar</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parametre</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Otomatik</translation>
    </message>
    <message>
        <source>语言设置改变，重启生效</source>
        <translation>Dil değişti, yeniden başlatınca geçerli olur</translation>
    </message>
    <message>
        <source>添加plt</source>
        <translation>plt ekle</translation>
    </message>
    <message>
        <source>保存plt</source>
        <translation>plt kaydet</translation>
    </message>
    <message>
        <source>小车向左</source>
        <translation>Taşıyıcı sola</translation>
    </message>
    <message>
        <source>小车向右</source>
        <translation>Taşıyıcı sağa</translation>
    </message>
    <message>
        <source>送纸</source>
        <translation>Kağıt besle</translation>
    </message>
    <message>
        <source>测试喷头</source>
        <translation>Püskürtücü testi</translation>
    </message>
    <message>
        <source>设置起喷偏移</source>
        <translation>Başlangıç ofseti</translation>
    </message>
    <message>
        <source>适合</source>
        <translation>Sığdır</translation>
    </message>
    <message>
        <source>设置起喷点</source>
        <translation>Başlangıç noktası</translation>
    </message>
    <message>
        <source>移动视图</source>
        <translation>Görünümü taşı</translation>
    </message>
    <message>
        <source>选择线条</source>
        <translation>Çizgi seç</translation>
    </message>
    <message>
        <source>移动线条</source>
        <translation>Çizgi taşı</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Devam</translation>
    </message>
</context>
<context>
    <name>CDlgFieldReader</name>
    <message>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Lütfen %1 ile %2 arasında bir tam sayı girin.</translation>
    </message>
    <message>
        <source>请输入一个 %1 至 %2 之间的数字。</source>
        <translation>Lütfen %1 ile %2 arasında bir sayı girin.</translation>
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
        <translation>Kilit dosyası %1 kullanılamıyor: %2. Programın zaten çalışıp çalışmadığı belirlenemediğinden program başlatılmayacak.</translation>
    </message>
    <message>
        <source>无法在本地套接字 %1 上监听：%2。程序不会启动。</source>
        <translation>Yerel soket %1 dinlenemiyor: %2. Program başlatılmayacak.</translation>
    </message>
    <message>
        <source>无法使用安装目录 %1：%2。--home 必须指向一个已存在且可写入的目录；程序不会启动。</source>
        <translation>Kurulum dizini %1 kullanılamıyor: %2. --home var olan ve yazılabilir bir dizini göstermelidir; program başlatılmıyor.</translation>
    </message>
</context>
<context>
    <name>CMainWindow</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;Dosya</translation>
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
        <translation>Çı&amp;kış</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;Görünüm</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>Pencereye Sığdır</translation>
    </message>
    <message>
        <source>控制面板</source>
        <translation>Kontrol Paneli</translation>
    </message>
    <message>
        <source>隐藏</source>
        <translation>Gizle</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>&amp;Ayarlar</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>Sistem Ayarları</translation>
    </message>
    <message>
        <source>机器参数</source>
        <translation>Makine Parametreleri</translation>
    </message>
    <message>
        <source>绘图单位</source>
        <translation>Çizici Birimleri</translation>
    </message>
    <message>
        <source>通讯(&amp;C)</source>
        <translation>&amp;Bağlantı</translation>
    </message>
    <message>
        <source>网口</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>免驱USB(USB打印支持)</source>
        <translation>Sürücüsüz USB (USB yazdırma)</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Yardım</translation>
    </message>
    <message>
        <source>关于(&amp;A)...</source>
        <translation>&amp;Hakkında...</translation>
    </message>
    <message>
        <source>此开发版本只能连接本机回环网络 (127.0.0.0/8)，无法连接 %1；请用 package 预设构建 (cmake --preset package) 以连接真实的绘图仪。</source>
        <translation>Bu geliştirme derlemesi yalnızca geri döngü ağına (127.0.0.0/8) bağlanır, %1 adresine bağlanamaz; gerçek bir çiziciye bağlanmak için package ön ayarıyla derleyin (cmake --preset package).</translation>
    </message>
    <message>
        <source>打开任务文件...</source>
        <translation>Görev Dosyası Aç...</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Düzen</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Geri Al</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Yinele</translation>
    </message>
    <message>
        <source>打开保存的打印任务</source>
        <translation>Kaydedilmiş Baskı Görevlerini Aç</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Durdur</translation>
    </message>
    <message>
        <source>在第 %1 / %2 条带处中断（已打印 %3 米，共 %4 米）</source>
        <translation>%2 bantın %1. bantında kesildi (%4 m&apos;nin %3 m&apos;si basıldı)</translation>
    </message>
    <message>
        <source>%1 的打印没有完成。</source>
        <translation>%1 baskısı tamamlanmadı.</translation>
    </message>
    <message>
        <source>原因：%1</source>
        <translation>Neden: %1</translation>
    </message>
    <message>
        <source>从第 %1 / %2 条带继续</source>
        <translation>%2 bantın %1. bantından devam et</translation>
    </message>
    <message>
        <source>从头打印</source>
        <translation>Baştan bas</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>Vazgeç</translation>
    </message>
    <message>
        <source>中断的作业</source>
        <translation>Kesilen iş</translation>
    </message>
    <message>
        <source>%1 × %2 mm，%3 个条带，用纸 %4 米，约 %5</source>
        <translation>%1 × %2 mm, %3 bant, %4 m kağıt, yaklaşık %5</translation>
    </message>
    <message>
        <source>墨水 (ml)：%1 / %2 / %3 / %4</source>
        <translation>Mürekkep (ml): %1 / %2 / %3 / %4</translation>
    </message>
    <message>
        <source>%1 个任务 · %2 米 · %3 · 墨水 %4 ml</source>
        <translation>%1 iş · %2 m · %3 · mürekkep %4 ml</translation>
    </message>
    <message>
        <source>保存任务文件...</source>
        <translation>Görev dosyasını kaydet...</translation>
    </message>
    <message>
        <source>欢迎使用喷墨绘图仪</source>
        <translation>Mürekkep püskürtmeli çiziciye hoş geldiniz</translation>
    </message>
    <message>
        <source>停止这个任务并关闭自动打印吗？
还有 %1 带没有打印。</source>
        <translation>Bu iş durdurulsun ve otomatik yazdırma kapatılsın mı?
Henüz yazdırılmamış bant sayısı: %1.</translation>
    </message>
    <message>
        <source>机器状态</source>
        <translation>Makine durumu</translation>
    </message>
    <message>
        <source>等待</source>
        <translation>Bekle</translation>
    </message>
    <message>
        <source>还有 %1 个未完成的作业。</source>
        <translation>%1 tamamlanmamış iş daha var.</translation>
    </message>
    <message>
        <source>保留</source>
        <translation>Sakla</translation>
    </message>
</context>
<context>
    <name>CQtPreviewPrompts</name>
    <message>
        <source>输入</source>
        <translation>Giriş</translation>
    </message>
</context>
<context>
    <name>JobStatus</name>
    <message>
        <source>约 %1 分钟</source>
        <translation>yaklaşık %1 dk</translation>
    </message>
    <message>
        <source>，剩余%1</source>
        <translation>, %1 kaldı</translation>
    </message>
    <message>
        <source>，还有 %1 份</source>
        <translation>, %1 kopya daha</translation>
    </message>
    <message>
        <source>已暂停 — %1</source>
        <translation>Duraklatıldı — %1</translation>
    </message>
    <message>
        <source>已暂停 %1</source>
        <translation>duraklatıldı %1</translation>
    </message>
    <message>
        <source>，绘图仪自 %1 起无响应</source>
        <translation>, çizici %1 saatinden beri yanıt vermiyor</translation>
    </message>
    <message>
        <source>等待绘图仪</source>
        <translation>Çizici bekleniyor</translation>
    </message>
    <message>
        <source>第 %1/%2 带（从第 %3 带继续）</source>
        <translation>bant %1/%2 (%3. banttan devam)</translation>
    </message>
    <message>
        <source>第 %1/%2 带</source>
        <translation>bant %1/%2</translation>
    </message>
    <message>
        <source>%1：%2，已打印 %3 m / %4 m</source>
        <translation>%1: %2, %3 m / %4 m yazdırıldı</translation>
    </message>
</context>
<context>
    <name>ListTexts</name>
    <message>
        <source>打印中</source>
        <translation>Yazdırılıyor</translation>
    </message>
    <message>
        <source>等待打印</source>
        <translation>Bekliyor</translation>
    </message>
    <message>
        <source>手动目录</source>
        <translation>Manuel klasör</translation>
    </message>
    <message>
        <source>自动目录</source>
        <translation>Otomatik klasör</translation>
    </message>
    <message>
        <source>手动打开</source>
        <translation>Elle eklendi</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>文件打开失败!</source>
        <translation>Dosya açılamadı!</translation>
    </message>
    <message>
        <source>重复打开</source>
        <translation>Dosya zaten açık</translation>
    </message>
    <message>
        <source>文件大小超出限制</source>
        <translation>Dosya boyutu sınırı aşıyor</translation>
    </message>
    <message>
        <source>超出机器幅宽！请重新设置右边据和纸张宽度！</source>
        <translation>İş, makinenin baskı genişliğini aşıyor! Sağ kenar boşluğunu ve kâğıt genişliğini yeniden ayarlayın!</translation>
    </message>
    <message>
        <source>意外的文件格式。</source>
        <translation>Beklenmeyen dosya biçimi.</translation>
    </message>
    <message>
        <source>读取 %1 时发生了错误。</source>
        <translation>%1 okunurken bir hata oluştu.</translation>
    </message>
    <message>
        <source>设置文件无法读取，已保留为 %1。程序正在使用默认设置（包括机器的 IP 地址），请检查设置。</source>
        <translation>Ayar dosyası okunamadı ve %1 olarak saklandı. Program varsayılan ayarlarla çalışıyor (makinenin IP adresi dahil); lütfen ayarları kontrol edin.</translation>
    </message>
    <message>
        <source>由于输入的段长太短，分割失败！</source>
        <translation>Parça uzunluğu çok kısa, bölme başarısız!</translation>
    </message>
    <message>
        <source>分割段长 %1 mm 不短于图形长度 %2 mm，没有分割。</source>
        <translation>%1 mm bölme uzunluğu çizimden (%2 mm) kısa değil; hiçbir şey bölünmedi.</translation>
    </message>
    <message>
        <source>对话框打开期间该任务已被删除或替换，没有执行操作。</source>
        <translation>İletişim kutusu açıkken görev silindi veya değiştirildi; hiçbir şey yapılmadı.</translation>
    </message>
    <message>
        <source>没有选中任务，没有打印。</source>
        <translation>Vurgulanan görev yok; hiçbir şey yazdırılmadı.</translation>
    </message>
    <message>
        <source>选中的任务已不在列表中，没有打印。</source>
        <translation>Vurgulanan görev artık listelerde değil; hiçbir şey yazdırılmadı.</translation>
    </message>
    <message>
        <source>%1 已不在文件夹中或已被改写，没有打印。</source>
        <translation>%1 okunduğu haliyle artık klasörde değil (silindi veya yeniden yazıldı); yazdırılmadı.</translation>
    </message>
    <message>
        <source>自动文件夹中的 %1 无法打印，已移到 %2，旁边的文本文件说明了原因。</source>
        <translation>Otomatik klasördeki %1 yazdırılamıyor. %2 konumuna taşındı; yanındaki metin dosyası nedenini söylüyor.</translation>
    </message>
    <message>
        <source>%1 无法打印，也无法移到 Rejected 文件夹（%2）。文件保留在原处。</source>
        <translation>%1 yazdırılamıyor ve Rejected klasörüne taşınamadı (%2). Dosya yerinde kalıyor.</translation>
    </message>
    <message>
        <source>%1 有 %2 MB，超过了 %3 MB 的文件大小限制。</source>
        <translation>%1 %2 MB boyutunda, %3 MB dosya boyutu sınırını aşıyor.</translation>
    </message>
    <message>
        <source>机器没有应答：请检查电源、网线或 USB 线，以及机器的地址。</source>
        <translation>Makine yanıt vermiyor: gücünü, ağ veya USB kablosunu ve makinenin adresini denetleyin.</translation>
    </message>
    <message>
        <source>机器还没有准备就绪。</source>
        <translation>Makine henüz hazır değil.</translation>
    </message>
    <message>
        <source>正在打印任务，请等它结束。</source>
        <translation>Bir görev yazdırılıyor; bitmesini bekleyin.</translation>
    </message>
    <message>
        <source>没有正在打印的任务可以暂停。</source>
        <translation>Duraklatılabilecek yazdırılan bir görev yok.</translation>
    </message>
    <message>
        <source>没有可以停止的任务。</source>
        <translation>Durdurulabilecek bir görev yok.</translation>
    </message>
    <message>
        <source>%1 无法作为图形读取。</source>
        <translation>%1 bir çizim olarak okunamıyor.</translation>
    </message>
    <message>
        <source>%1 中没有可以打印的内容（例如只有 HP-GL/2 光栅数据）。</source>
        <translation>%1 yazdırılabilecek bir şey içermiyor (örneğin yalnızca HP-GL/2 raster verisi).</translation>
    </message>
    <message>
        <source>%1 的图形远宽于纸卷，请检查绘图单位设置。</source>
        <translation>%1 çizimi rulodan çok daha geniş; çizim birimi ayarlarını denetleyin.</translation>
    </message>
    <message>
        <source>作业开始后 %1 已被修改，无法继续打印。请从头打印。</source>
        <translation>%1 iş başladıktan sonra değişti, bu yüzden devam ettirilemez. Baştan basın.</translation>
    </message>
    <message>
        <source>作业开始后机器的喷头参数已更改，无法继续打印。请从头打印。</source>
        <translation>Makinenin kafa parametreleri iş başladıktan sonra değişti, bu yüzden devam ettirilemez. Baştan basın.</translation>
    </message>
    <message>
        <source>无法继续中断的作业：%1</source>
        <translation>Kesilen işe devam edilemiyor: %1</translation>
    </message>
    <message>
        <source>%1 的尺寸为 %2，不像是唛架；乘以 %3 后为 %4。请检查单位设置：%5</source>
        <translation>%1 %2 ölçüsünde, bir pastal için olası değil; %3 ile ölçeklenince %4 olurdu. Birim ayarını kontrol edin: %5</translation>
    </message>
    <message>
        <source>%1 的尺寸为 %2，不像是唛架，请检查单位设置。</source>
        <translation>%1 %2 ölçüsünde, bir pastal için olası değil; birim ayarlarını kontrol edin.</translation>
    </message>
    <message>
        <source>%1 有部分图形在纸张之外（X 或 Y 小于 0）。</source>
        <translation>%1 dosyasının bazı parçaları kağıdın dışında (X veya Y 0&apos;ın altında).</translation>
    </message>
    <message>
        <source>%1 与 %2 的文件内容相同。</source>
        <translation>%1, %2 ile aynı içeriğe sahip.</translation>
    </message>
    <message>
        <source>上次保存的任务列表无法读取，已另存为 %1；任务列表为空。</source>
        <translation>Kaydedilen görev listeleri okunamadı ve %1 olarak kenara alındı; listeler boş başlıyor.</translation>
    </message>
    <message>
        <source>%1 中只有文字，没有裁片轮廓。</source>
        <translation>%1 yalnızca metin içeriyor: parça hatları yok.</translation>
    </message>
    <message>
        <source>%1 中有以下内容未绘制：%2。</source>
        <translation>%1 içinde çizilmeyenler var: %2.</translation>
    </message>
    <message>
        <source>%1 宽 %2 mm，超出机器可打印宽度 %3 mm。请在 系统设置 ▸ 绘图设置 中勾选“启用分页”，并把“分页宽度”设为不超过 %3 mm。</source>
        <translation>%1 %2 mm genişliğinde; makine en fazla %3 mm yazdırır. Sistem Ayarları ▸ Çizim altında “Geniş çizimleri böl” seçeneğini işaretleyin ve şerit genişliğini en fazla %3 mm yapın.</translation>
    </message>
    <message>
        <source>无法写入作业记录，作业不能继续：%1</source>
        <translation>İşin kaydı yazılamıyor, bu yüzden iş devam etmiyor: %1</translation>
    </message>
    <message>
        <source>绘图仪仍停在中断的作业中；请在绘图仪上或在此处按停止。</source>
        <translation>Çizici hâlâ yarıda kalan işte; çizicide veya burada Durdur&apos;a basın.</translation>
    </message>
    <message>
        <source>任务列表无法保存（%1）；稍后将再次尝试。</source>
        <translation>Görev listeleri kaydedilemedi (%1); kaydetme yeniden denenecek.</translation>
    </message>
    <message>
        <source>%1 的作业没有完成；在继续或放弃它之前不会打印其他任务。</source>
        <translation>%1 işi bitmedi; sürdürülene veya atılana kadar başka bir şey yazdırılmaz.</translation>
    </message>
</context>
<context>
    <name>OperatorText</name>
    <message>
        <source>文件已不存在（被移走或删除）</source>
        <translation>dosya artık yok (taşındı veya silindi)</translation>
    </message>
    <message>
        <source>没有读取这个文件的权限</source>
        <translation>dosyayı okuma izni yok</translation>
    </message>
    <message>
        <source>文件是空的或太短</source>
        <translation>dosya boş veya çok kısa</translation>
    </message>
    <message>
        <source>文件超过 32 MB</source>
        <translation>dosya 32 MB’tan büyük</translation>
    </message>
    <message>
        <source>文件内容无法作为 HP-GL 读取</source>
        <translation>içeriği HP-GL olarak okunamıyor</translation>
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
        <translation>Çizici</translation>
    </message>
    <message>
        <source>机器</source>
        <translation>Makine</translation>
    </message>
    <message>
        <source>正在打印</source>
        <translation>Şimdi basılıyor</translation>
    </message>
    <message>
        <source>没有正在打印的作业</source>
        <translation>Basılan iş yok</translation>
    </message>
    <message>
        <source>剩余时间</source>
        <translation>kalan süre</translation>
    </message>
    <message>
        <source>任务列表</source>
        <translation>Kuyruk</translation>
    </message>
    <message>
        <source>列表为空</source>
        <translation>Kuyruk boş</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>kopya</translation>
    </message>
    <message>
        <source>最近打印</source>
        <translation>Son basılanlar</translation>
    </message>
    <message>
        <source>被拒绝的文件</source>
        <translation>Reddedilen dosyalar</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>bağlı değil</translation>
    </message>
    <message>
        <source>正在启动</source>
        <translation>Başlatılıyor</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Hazır</translation>
    </message>
    <message>
        <source>清洗中</source>
        <translation>Temizleniyor</translation>
    </message>
    <message>
        <source>处理中</source>
        <translation>İşleniyor</translation>
    </message>
    <message>
        <source>打印中</source>
        <translation>Basılıyor</translation>
    </message>
    <message>
        <source>收尾中</source>
        <translation>Bitiriliyor</translation>
    </message>
    <message>
        <source>已暂停</source>
        <translation>Duraklatıldı</translation>
    </message>
    <message>
        <source>内存错误</source>
        <translation>Bellek hatası</translation>
    </message>
    <message>
        <source>复位超时</source>
        <translation>Sıfırlama zaman aşımı</translation>
    </message>
    <message>
        <source>小车超时</source>
        <translation>Taşıyıcı zaman aşımı</translation>
    </message>
    <message>
        <source>无应答</source>
        <translation>Yanıt yok</translation>
    </message>
    <message>
        <source>自动打印</source>
        <translation>Otomatik yazdırma</translation>
    </message>
    <message>
        <source>开</source>
        <translation>Açık</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Kapalı</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Duraklat</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Devam et</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Durdur</translation>
    </message>
    <message>
        <source>排队</source>
        <translation>Sıraya al</translation>
    </message>
    <message>
        <source>合计</source>
        <translation>Toplam</translation>
    </message>
    <message>
        <source>已结束的作业</source>
        <translation>Biten işler</translation>
    </message>
    <message>
        <source>已打印</source>
        <translation>yazdırıldı</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>durduruldu</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>başarısız</translation>
    </message>
    <message>
        <source>历史记录未开启 (HistoryEnable=0)</source>
        <translation>Geçmiş kapalı (HistoryEnable=0)</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Giriş yap</translation>
    </message>
    <message>
        <source>令牌</source>
        <translation>Belirteç</translation>
    </message>
    <message>
        <source>令牌错误</source>
        <translation>Yanlış belirteç</translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <source>鼠标:</source>
        <translation>Fare:</translation>
    </message>
    <message>
        <source>绘图仪IP:</source>
        <translation>Çizici IP:</translation>
    </message>
    <message>
        <source>本地IP:</source>
        <translation>Yerel IP:</translation>
    </message>
</context>
<context>
    <name>UndoSteps</name>
    <message>
        <source>添加</source>
        <translation>Ekle</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Sil</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>Kopyalar</translation>
    </message>
    <message>
        <source>排队</source>
        <translation>Kuyruğa al</translation>
    </message>
    <message>
        <source>取消排队</source>
        <translation>Kuyruktan çıkar</translation>
    </message>
    <message>
        <source>合并</source>
        <translation>Birleştir</translation>
    </message>
    <message>
        <source>分割</source>
        <translation>Böl</translation>
    </message>
    <message>
        <source>镜像</source>
        <translation>Ayna</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Döndür</translation>
    </message>
    <message>
        <source>打开任务文件</source>
        <translation>Görev dosyasını aç</translation>
    </message>
    <message>
        <source>移动</source>
        <translation>Taşı</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Düzenle</translation>
    </message>
    <message>
        <source>(%1 个任务)</source>
        <translation>(%1 görev)</translation>
    </message>
</context>
<context>
    <name>inkvale::CAboutDialog</name>
    <message>
        <source>关于Inkvale</source>
        <translation>Inkvale Hakkında</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>Tamam</translation>
    </message>
</context>
<context>
    <name>inkvale::CPasswordDialog</name>
    <message>
        <source>输入</source>
        <translation>Giriş</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>请输入密码:</source>
        <translation>Lütfen parolayı girin:</translation>
    </message>
</context>
<context>
    <name>inkvale::CMachineParamsDialog</name>
    <message>
        <source>机器设置</source>
        <translation>Makine Ayarları</translation>
    </message>
    <message>
        <source>喷头参数</source>
        <translation>Hazneler</translation>
    </message>
    <message>
        <source>喷头组合：</source>
        <translation>Hazne kombinasyonu:</translation>
    </message>
    <message>
        <source>双向打印</source>
        <translation>Çift yönlü yazdırma</translation>
    </message>
    <message>
        <source>平板打印（打完回纸）</source>
        <translation>Düz yatak (yazdırma sonrası kağıt geri)</translation>
    </message>
    <message>
        <source>左列出墨</source>
        <translation>Sol sütundan mürekkep</translation>
    </message>
    <message>
        <source>右列出墨</source>
        <translation>Sağ sütundan mürekkep</translation>
    </message>
    <message>
        <source>精打模式</source>
        <translation>Hassas mod</translation>
    </message>
    <message>
        <source>边线调整</source>
        <translation>Kenar Ayarı</translation>
    </message>
    <message>
        <source>机械参数</source>
        <translation>Mekanik</translation>
    </message>
    <message>
        <source>走纸轴步长基准</source>
        <translation>Kağıt besleme mili adım referansı</translation>
    </message>
    <message>
        <source>裁断功能</source>
        <translation>Kesici</translation>
    </message>
    <message>
        <source>裁断刀压</source>
        <translation>Kesici basıncı</translation>
    </message>
    <message>
        <source>第1刀</source>
        <translation>Bıçak 1</translation>
    </message>
    <message>
        <source>第2刀</source>
        <translation>Bıçak 2</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>Varsayılanlar</translation>
    </message>
    <message>
        <source>截图保存</source>
        <translation>Ekran Görüntüsü Kaydet</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>İptal</translation>
    </message>
    <message>
        <source>喷头1</source>
        <translation>hazne 1</translation>
    </message>
    <message>
        <source>喷头2</source>
        <translation>hazne 2</translation>
    </message>
    <message>
        <source>喷头3</source>
        <translation>hazne 3</translation>
    </message>
    <message>
        <source>喷头4</source>
        <translation>hazne 4</translation>
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
        <translation>başlangıç</translation>
    </message>
    <message>
        <source>终点</source>
        <translation>bitiş</translation>
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
        <translation>Hazneler arası X örtüşmesi</translation>
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
        <translation>Hazne konumu</translation>
    </message>
    <message>
        <source>回来接线</source>
        <translation>Dönüş birleşimi</translation>
    </message>
    <message>
        <source>点火脉宽</source>
        <translation>Ateşleme darbe genişliği</translation>
    </message>
    <message>
        <source>微秒</source>
        <translation>µs</translation>
    </message>
    <message>
        <source>喷头左右两列间距</source>
        <translation>Haznenin iki sütunu arası mesafe</translation>
    </message>
    <message>
        <source>缓冲距离</source>
        <translation>Tampon mesafesi</translation>
    </message>
    <message>
        <source>边距</source>
        <translation>Kenar boşluğu</translation>
    </message>
    <message>
        <source>像素</source>
        <translation>piksel</translation>
    </message>
    <message>
        <source>小车行程限制</source>
        <translation>Taşıyıcı hareket sınırı</translation>
    </message>
    <message>
        <source>刹车距离</source>
        <translation>Fren mesafesi</translation>
    </message>
    <message>
        <source>小车起始速度</source>
        <translation>Taşıyıcı başlangıç hızı</translation>
    </message>
    <message>
        <source>小车最大速度</source>
        <translation>Taşıyıcı azami hızı</translation>
    </message>
    <message>
        <source>进退纸速度</source>
        <translation>Kağıt besleme hızı</translation>
    </message>
</context>
<context>
    <name>inkvale::CMachineAddressDialog</name>
    <message>
        <source>网络设置</source>
        <translation>Ağ Ayarları</translation>
    </message>
    <message>
        <source>绘图仪IP</source>
        <translation>Çizici IP</translation>
    </message>
    <message>
        <source>提示1：将绘图仪IP的前3段和电脑IP前3段的数字设置成一样才能正常联机</source>
        <translation>Not 1: çizici IP adresinin ilk üç sayısı bu bilgisayarın IP adresinin ilk üç sayısıyla aynı olmalıdır, aksi halde bağlantı kurulamaz.</translation>
    </message>
    <message>
        <source>提示2：开机时按住“暂停/启动键”3秒，机器IP会恢复为默认值 (192.168.1.175)</source>
        <translation>Not 2: çiziciyi açarken “Duraklat/Başlat” tuşunu 3 saniye basılı tutmak varsayılan IP adresini (192.168.1.175) geri yükler.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>İptal</translation>
    </message>
</context>
<context>
    <name>inkvale::COffsetDialog</name>
    <message>
        <source>左偏移设定</source>
        <translation>Sol Ofset</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>İptal</translation>
    </message>
    <message>
        <source>左偏移</source>
        <translation>Sol ofset</translation>
    </message>
</context>
<context>
    <name>inkvale::CHpglUnitDialog</name>
    <message>
        <source>下次打开plt时不弹出此对话框</source>
        <translation>Sonraki plt dosyası açıldığında bu pencereyi gösterme</translation>
    </message>
    <message>
        <source>plt文件单位</source>
        <translation>PLT Dosya Birimi</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>İptal</translation>
    </message>
    <message>
        <source>绘图单位</source>
        <translation>Çizici Birimleri</translation>
    </message>
</context>
<context>
    <name>inkvale::CSettingsDialog</name>
    <message>
        <source>系统设置</source>
        <translation>Sistem Ayarları</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>İptal</translation>
    </message>
</context>
<context>
    <name>inkvale::CPreviewView</name>
    <message>
        <source>适合整个图形</source>
        <translation>Tüm Çizimi Sığdır</translation>
    </message>
</context>
<context>
    <name>inkvale::CLoadProgress</name>
    <message>
        <source>正在读取 %1 ...</source>
        <translation>%1 okunuyor ...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>İptal</translation>
    </message>
</context>
<context>
    <name>inkvale::CUserSettingsPage</name>
    <message>
        <source>手动打开时文件过滤</source>
        <translation>Ekle ile gösterilen dosyalar</translation>
    </message>
    <message>
        <source>所有文件(*.*)</source>
        <translation>Tüm dosyalar (*.*)</translation>
    </message>
    <message>
        <source>HPGL文件(*.p*;*.h*;*.spl)</source>
        <translation>HP-GL dosyaları (*.p*;*.h*;*.spl)</translation>
    </message>
    <message>
        <source>dxf文件(*.dxf)</source>
        <translation>DXF dosyaları (*.dxf)</translation>
    </message>
    <message>
        <source>支持的文件(*.p*;*.h*;*.spl;*.dxf)</source>
        <translation>Desteklenen dosyalar (*.p*;*.h*;*.spl;*.dxf)</translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation>Arka Plan Rengi</translation>
    </message>
    <message>
        <source>坐标和外框颜色</source>
        <translation>Eksen ve Çerçeve Rengi</translation>
    </message>
    <message>
        <source>网格颜色</source>
        <translation>Izgara Rengi</translation>
    </message>
    <message>
        <source>线条颜色</source>
        <translation>Çizgi Rengi</translation>
    </message>
    <message>
        <source>文件添加到列表后自动预览</source>
        <translation>Listeye eklenen dosyayı önizle</translation>
    </message>
    <message>
        <source>自动删除份数为0的项</source>
        <translation>0 adetli çizimleri otomatik sil</translation>
    </message>
    <message>
        <source>在图形结尾打印文件名</source>
        <translation>Çizimin sonuna dosya adını yazdır</translation>
    </message>
    <message>
        <source>打印开始前清洗喷头</source>
        <translation>Yazdırmadan önce hazneleri temizle</translation>
    </message>
    <message>
        <source>分页指令处理方式</source>
        <translation>Sayfa komutu işleme</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Uygula</translation>
    </message>
    <message>
        <source>喷头清洗浓度</source>
        <translation>Hazne temizleme yoğunluğu</translation>
    </message>
    <message>
        <source>方式1</source>
        <translation>Tip 1</translation>
    </message>
    <message>
        <source>方式2</source>
        <translation>Tip 2</translation>
    </message>
</context>
<context>
    <name>inkvale::CDirectorySettingsPage</name>
    <message>
        <source>手动目录</source>
        <translation>Manuel dizin</translation>
    </message>
    <message>
        <source>自动目录</source>
        <translation>Otomatik dizin</translation>
    </message>
    <message>
        <source>备份目录</source>
        <translation>Yedekleme dizini</translation>
    </message>
    <message>
        <source>打印历史</source>
        <translation>Yazdırma geçmişi</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Değiştir...</translation>
    </message>
    <message>
        <source>自动备份已打印的文件</source>
        <translation>Yazdırılan dosyaları yedekle</translation>
    </message>
    <message>
        <source>保存打印历史</source>
        <translation>Yazdırma geçmişini tut</translation>
    </message>
    <message>
        <source>线条加黑</source>
        <translation>Kalın çizgiler</translation>
    </message>
    <message>
        <source>文件过滤：</source>
        <translation>Dosya filtresi:</translation>
    </message>
    <message>
        <source>logo设置:</source>
        <translation>Logo metni:</translation>
    </message>
    <message>
        <source>线条粗细设置</source>
        <translation>Çizgi Kalınlığı</translation>
    </message>
    <message>
        <source>像素</source>
        <translation> piksel</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Uygula</translation>
    </message>
    <message>
        <source>备份目录不能是自动目录或手动目录，也不能在其中。</source>
        <translation>Yedek klasörü otomatik ya da elle klasör olamaz, bunların içinde de bulunamaz.</translation>
    </message>
    <message>
        <source>没有文件模式：文件夹不会取任何文件。</source>
        <translation>Dosya deseni yok: klasörler hiçbir dosya almaz.</translation>
    </message>
    <message>
        <source>文件夹取用：%1（不区分大小写）</source>
        <translation>Klasörlerin aldığı: %1 (büyük/küçük harf fark etmez)</translation>
    </message>
</context>
<context>
    <name>inkvale::CPlotSettingsPage</name>
    <message>
        <source>比例参数存于主板</source>
        <translation>Ölçek katsayıları çizicide saklanır</translation>
    </message>
    <message>
        <source>比例参数存于电脑</source>
        <translation>Ölçek katsayıları bu bilgisayarda saklanır</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Uygula</translation>
    </message>
    <message>
        <source>启用分页</source>
        <translation>Geniş çizimleri böl</translation>
    </message>
    <message>
        <source>分页前先旋转</source>
        <translation>Bölmeden önce döndür</translation>
    </message>
    <message>
        <source>是否镜像</source>
        <translation>Aynala</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Güncelle</translation>
    </message>
    <message>
        <source>设计尺寸</source>
        <translation>Tasarım ölçüsü</translation>
    </message>
    <message>
        <source>实测尺寸</source>
        <translation>Gerçek ölçü</translation>
    </message>
    <message>
        <source>比例系数</source>
        <translation>Ölçek katsayısı</translation>
    </message>
    <message>
        <source>纸长</source>
        <translation>Kağıt boyu</translation>
    </message>
    <message>
        <source>纸宽</source>
        <translation>Kağıt eni</translation>
    </message>
    <message>
        <source>分页宽度</source>
        <translation>Şerit genişliği</translation>
    </message>
    <message>
        <source>分页间距</source>
        <translation>Şerit aralığı</translation>
    </message>
    <message>
        <source>打印前进纸</source>
        <translation>Yazdırma öncesi kağıt besleme</translation>
    </message>
    <message>
        <source>打印后进纸</source>
        <translation>Yazdırma sonrası kağıt besleme</translation>
    </message>
    <message>
        <source>Dxf文件单位</source>
        <translation>DXF dosya birimi</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
</context>
</TS>
