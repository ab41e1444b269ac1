<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="zh_CN">
<context>
    <name>CCommandBar</name>
    <message>
        <source>添加</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Старт</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>复位</source>
        <translation>Сброс</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Больше</translation>
    </message>
    <message>
        <source>减少</source>
        <translation>Меньше</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Поворот</translation>
    </message>
    <message>
        <source>左走</source>
        <translation>Влево</translation>
    </message>
    <message>
        <source>右走</source>
        <translation>Вправо</translation>
    </message>
    <message>
        <source>进纸</source>
        <translation>Подача</translation>
    </message>
    <message>
        <source>退纸</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>测试</source>
        <translation>Тест</translation>
    </message>
    <message>
        <source>偏移</source>
        <translation>Смещение</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Авто</translation>
    </message>
    <message>
        <source>语言设置改变，重启生效</source>
        <translation>Язык изменён, перезапустите программу</translation>
    </message>
    <message>
        <source>添加plt</source>
        <translation>Добавить plt</translation>
    </message>
    <message>
        <source>保存plt</source>
        <translation>Сохранить plt</translation>
    </message>
    <message>
        <source>小车向左</source>
        <translation>Каретка влево</translation>
    </message>
    <message>
        <source>小车向右</source>
        <translation>Каретка вправо</translation>
    </message>
    <message>
        <source>送纸</source>
        <translation>Подача бумаги</translation>
    </message>
    <message>
        <source>测试喷头</source>
        <translation>Тест сопел</translation>
    </message>
    <message>
        <source>设置起喷偏移</source>
        <translation>Смещение начала печати</translation>
    </message>
    <message>
        <source>适合</source>
        <translation>По размеру окна</translation>
    </message>
    <message>
        <source>设置起喷点</source>
        <translation>Точка начала печати</translation>
    </message>
    <message>
        <source>移动视图</source>
        <translation>Сдвиг вида</translation>
    </message>
    <message>
        <source>选择线条</source>
        <translation>Выбор линий</translation>
    </message>
    <message>
        <source>移动线条</source>
        <translation>Сдвиг линий</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Продолжить</translation>
    </message>
</context>
<context>
    <name>CDlgFieldReader</name>
    <message>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Введите целое число от %1 до %2.</translation>
    </message>
    <message>
        <source>请输入一个 %1 至 %2 之间的数字。</source>
        <translation>Введите число от %1 до %2.</translation>
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
        <translation>Не удаётся использовать файл блокировки %1: %2. Невозможно определить, запущена ли программа уже, поэтому она не будет запущена.</translation>
    </message>
    <message>
        <source>无法在本地套接字 %1 上监听：%2。程序不会启动。</source>
        <translation>Не удаётся прослушивать локальный сокет %1: %2. Программа не будет запущена.</translation>
    </message>
    <message>
        <source>无法使用安装目录 %1：%2。--home 必须指向一个已存在且可写入的目录；程序不会启动。</source>
        <translation>Невозможно использовать каталог установки %1: %2. --home должен указывать на существующий каталог, доступный для записи; программа не запускается.</translation>
    </message>
</context>
<context>
    <name>CMainWindow</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>В&amp;ыход</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>По размеру окна</translation>
    </message>
    <message>
        <source>控制面板</source>
        <translation>Панель управления</translation>
    </message>
    <message>
        <source>隐藏</source>
        <translation>Скрыть</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>&amp;Настройки</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>Настройки системы</translation>
    </message>
    <message>
        <source>机器参数</source>
        <translation>Параметры плоттера</translation>
    </message>
    <message>
        <source>绘图单位</source>
        <translation>Единицы плоттера</translation>
    </message>
    <message>
        <source>通讯(&amp;C)</source>
        <translation>&amp;Связь</translation>
    </message>
    <message>
        <source>网口</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>免驱USB(USB打印支持)</source>
        <translation>USB без драйвера (печать через USB)</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>关于(&amp;A)...</source>
        <translation>&amp;О программе...</translation>
    </message>
    <message>
        <source>此开发版本只能连接本机回环网络 (127.0.0.0/8)，无法连接 %1；请用 package 预设构建 (cmake --preset package) 以连接真实的绘图仪。</source>
        <translation>Эта сборка для разработки подключается только к сети loopback (127.0.0.0/8), а не к %1; чтобы подключиться к настоящему плоттеру, соберите программу с пресетом package (cmake --preset package).</translation>
    </message>
    <message>
        <source>打开任务文件...</source>
        <translation>Открыть файл заданий...</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Правка</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>打开保存的打印任务</source>
        <translation>Открыть сохранённые задания печати</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>在第 %1 / %2 条带处中断（已打印 %3 米，共 %4 米）</source>
        <translation>Прервано на полосе %1 из %2 (напечатано %3 м из %4 м)</translation>
    </message>
    <message>
        <source>%1 的打印没有完成。</source>
        <translation>Печать %1 не завершена.</translation>
    </message>
    <message>
        <source>原因：%1</source>
        <translation>Причина: %1</translation>
    </message>
    <message>
        <source>从第 %1 / %2 条带继续</source>
        <translation>Продолжить с полосы %1 из %2</translation>
    </message>
    <message>
        <source>从头打印</source>
        <translation>Печатать с начала</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>Отказаться</translation>
    </message>
    <message>
        <source>中断的作业</source>
        <translation>Прерванное задание</translation>
    </message>
    <message>
        <source>%1 × %2 mm，%3 个条带，用纸 %4 米，约 %5</source>
        <translation>%1 × %2 мм, полос: %3, бумаги %4 м, около %5</translation>
    </message>
    <message>
        <source>墨水 (ml)：%1 / %2 / %3 / %4</source>
        <translation>Чернила (мл): %1 / %2 / %3 / %4</translation>
    </message>
    <message>
        <source>%1 个任务 · %2 米 · %3 · 墨水 %4 ml</source>
        <translation>Заданий: %1 · %2 м · %3 · чернила %4 мл</translation>
    </message>
    <message>
        <source>保存任务文件...</source>
        <translation>Сохранить файл заданий...</translation>
    </message>
    <message>
        <source>欢迎使用喷墨绘图仪</source>
        <translation>Добро пожаловать: струйный плоттер</translation>
    </message>
    <message>
        <source>停止这个任务并关闭自动打印吗？
还有 %1 带没有打印。</source>
        <translation>Остановить это задание и выключить автоматическую печать?
Ещё не напечатано полос: %1.</translation>
    </message>
    <message>
        <source>机器状态</source>
        <translation>Состояние плоттера</translation>
    </message>
    <message>
        <source>等待</source>
        <translation>Ждать</translation>
    </message>
    <message>
        <source>还有 %1 个未完成的作业。</source>
        <translation>Ещё незавершённых заданий: %1.</translation>
    </message>
    <message>
        <source>保留</source>
        <translation>Оставить</translation>
    </message>
</context>
<context>
    <name>CQtPreviewPrompts</name>
    <message>
        <source>输入</source>
        <translation>Ввод</translation>
    </message>
</context>
<context>
    <name>JobStatus</name>
    <message>
        <source>约 %1 分钟</source>
        <translation>около %1 мин</translation>
    </message>
    <message>
        <source>，剩余%1</source>
        <translation>, осталось %1</translation>
    </message>
    <message>
        <source>，还有 %1 份</source>
        <translation>, ещё копий: %1</translation>
    </message>
    <message>
        <source>已暂停 — %1</source>
        <translation>Пауза — %1</translation>
    </message>
    <message>
        <source>已暂停 %1</source>
        <translation>пауза %1</translation>
    </message>
    <message>
        <source>，绘图仪自 %1 起无响应</source>
        <translation>, плоттер не отвечает с %1</translation>
    </message>
    <message>
        <source>等待绘图仪</source>
        <translation>Ожидание плоттера</translation>
    </message>
    <message>
        <source>第 %1/%2 带（从第 %3 带继续）</source>
        <translation>полоса %1 из %2 (продолжено с %3)</translation>
    </message>
    <message>
        <source>第 %1/%2 带</source>
        <translation>полоса %1 из %2</translation>
    </message>
    <message>
        <source>%1：%2，已打印 %3 m / %4 m</source>
        <translation>%1: %2, напечатано %3 м из %4 м</translation>
    </message>
</context>
<context>
    <name>ListTexts</name>
    <message>
        <source>打印中</source>
        <translation>Печать</translation>
    </message>
    <message>
        <source>等待打印</source>
        <translation>Ожидание</translation>
    </message>
    <message>
        <source>手动目录</source>
        <translation>Ручная папка</translation>
    </message>
    <message>
        <source>自动目录</source>
        <translation>Автопапка</translation>
    </message>
    <message>
        <source>手动打开</source>
        <translation>Вручную</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>文件打开失败!</source>
        <translation>Не удалось открыть файл!</translation>
    </message>
    <message>
        <source>重复打开</source>
        <translation>Файл уже открыт</translation>
    </message>
    <message>
        <source>文件大小超出限制</source>
        <translation>Размер файла превышает предел</translation>
    </message>
    <message>
        <source>超出机器幅宽！请重新设置右边据和纸张宽度！</source>
        <translation>Задание шире рабочего поля машины! Измените правый отступ и ширину бумаги!</translation>
    </message>
    <message>
        <source>意外的文件格式。</source>
        <translation>Неожиданный формат файла.</translation>
    </message>
    <message>
        <source>读取 %1 时发生了错误。</source>
        <translation>Ошибка при чтении %1.</translation>
    </message>
    <message>
        <source>设置文件无法读取，已保留为 %1。程序正在使用默认设置（包括机器的 IP 地址），请检查设置。</source>
        <translation>Файл настроек не удалось прочитать, он сохранён как %1. Программа работает с настройками по умолчанию (включая IP-адрес машины); проверьте настройки.</translation>
    </message>
    <message>
        <source>由于输入的段长太短，分割失败！</source>
        <translation>Длина отрезка слишком мала, разделение не выполнено!</translation>
    </message>
    <message>
        <source>分割段长 %1 mm 不短于图形长度 %2 mm，没有分割。</source>
        <translation>Длина отрезка %1 мм не меньше длины рисунка (%2 мм); ничего не разделено.</translation>
    </message>
    <message>
        <source>对话框打开期间该任务已被删除或替换，没有执行操作。</source>
        <translation>Пока диалог был открыт, задание было удалено или заменено; ничего не сделано.</translation>
    </message>
    <message>
        <source>没有选中任务，没有打印。</source>
        <translation>Ни одно задание не выделено; ничего не напечатано.</translation>
    </message>
    <message>
        <source>选中的任务已不在列表中，没有打印。</source>
        <translation>Выделенное задание больше не в списках; ничего не напечатано.</translation>
    </message>
    <message>
        <source>%1 已不在文件夹中或已被改写，没有打印。</source>
        <translation>%1 больше нет в папке в прочитанном виде (удалён или перезаписан); не напечатано.</translation>
    </message>
    <message>
        <source>自动文件夹中的 %1 无法打印，已移到 %2，旁边的文本文件说明了原因。</source>
        <translation>%1 из автоматической папки нельзя напечатать. Файл перемещён в %2; текстовый файл рядом с ним объясняет причину.</translation>
    </message>
    <message>
        <source>%1 无法打印，也无法移到 Rejected 文件夹（%2）。文件保留在原处。</source>
        <translation>%1 нельзя напечатать, и его не удалось переместить в папку Rejected (%2). Файл остаётся на месте.</translation>
    </message>
    <message>
        <source>%1 有 %2 MB，超过了 %3 MB 的文件大小限制。</source>
        <translation>%1 занимает %2 МБ, больше предела размера файла в %3 МБ.</translation>
    </message>
    <message>
        <source>机器没有应答：请检查电源、网线或 USB 线，以及机器的地址。</source>
        <translation>Машина не отвечает: проверьте питание, сетевой или USB-кабель и адрес машины.</translation>
    </message>
    <message>
        <source>机器还没有准备就绪。</source>
        <translation>Машина ещё не готова.</translation>
    </message>
    <message>
        <source>正在打印任务，请等它结束。</source>
        <translation>Идёт печать задания; дождитесь его окончания.</translation>
    </message>
    <message>
        <source>没有正在打印的任务可以暂停。</source>
        <translation>Нет печатающегося задания, которое можно приостановить.</translation>
    </message>
    <message>
        <source>没有可以停止的任务。</source>
        <translation>Нет задания, которое можно остановить.</translation>
    </message>
    <message>
        <source>%1 无法作为图形读取。</source>
        <translation>%1 не удаётся прочитать как рисунок.</translation>
    </message>
    <message>
        <source>%1 中没有可以打印的内容（例如只有 HP-GL/2 光栅数据）。</source>
        <translation>В %1 нет ничего, что можно напечатать (например, только растровые данные HP-GL/2).</translation>
    </message>
    <message>
        <source>%1 的图形远宽于纸卷，请检查绘图单位设置。</source>
        <translation>Рисунок %1 намного шире рулона; проверьте настройки единиц.</translation>
    </message>
    <message>
        <source>作业开始后 %1 已被修改，无法继续打印。请从头打印。</source>
        <translation>%1 изменился после начала задания, поэтому его нельзя продолжить. Напечатайте его с начала.</translation>
    </message>
    <message>
        <source>作业开始后机器的喷头参数已更改，无法继续打印。请从头打印。</source>
        <translation>Параметры головок машины изменились после начала задания, поэтому его нельзя продолжить. Напечатайте его с начала.</translation>
    </message>
    <message>
        <source>无法继续中断的作业：%1</source>
        <translation>Прерванное задание нельзя продолжить: %1</translation>
    </message>
    <message>
        <source>%1 的尺寸为 %2，不像是唛架；乘以 %3 后为 %4。请检查单位设置：%5</source>
        <translation>Размер %1 — %2, маловероятный для раскладки; при масштабе %3 он был бы %4. Проверьте настройку единиц: %5</translation>
    </message>
    <message>
        <source>%1 的尺寸为 %2，不像是唛架，请检查单位设置。</source>
        <translation>Размер %1 — %2, маловероятный для раскладки; проверьте настройки единиц.</translation>
    </message>
    <message>
        <source>%1 有部分图形在纸张之外（X 或 Y 小于 0）。</source>
        <translation>Части %1 лежат за пределами бумаги (X или Y меньше 0).</translation>
    </message>
    <message>
        <source>%1 与 %2 的文件内容相同。</source>
        <translation>%1 совпадает по содержимому с %2.</translation>
    </message>
    <message>
        <source>上次保存的任务列表无法读取，已另存为 %1；任务列表为空。</source>
        <translation>Сохранённые списки заданий не удалось прочитать; они отложены как %1, списки начинаются пустыми.</translation>
    </message>
    <message>
        <source>%1 中只有文字，没有裁片轮廓。</source>
        <translation>В %1 только текст, нет контуров деталей.</translation>
    </message>
    <message>
        <source>%1 中有以下内容未绘制：%2。</source>
        <translation>В %1 есть то, что не рисуется: %2.</translation>
    </message>
    <message>
        <source>%1 宽 %2 mm，超出机器可打印宽度 %3 mm。请在 系统设置 ▸ 绘图设置 中勾选“启用分页”，并把“分页宽度”设为不超过 %3 mm。</source>
        <translation>Ширина %1 — %2 мм; машина печатает не шире %3 мм. Включите «Разбивка на полосы» в Настройки системы ▸ Настройки печати и задайте ширину полосы не больше %3 мм.</translation>
    </message>
    <message>
        <source>无法写入作业记录，作业不能继续：%1</source>
        <translation>Запись задания не удаётся сохранить, поэтому задание не продолжается: %1</translation>
    </message>
    <message>
        <source>绘图仪仍停在中断的作业中；请在绘图仪上或在此处按停止。</source>
        <translation>Плоттер всё ещё в прерванном задании; нажмите «Стоп» на плоттере или здесь.</translation>
    </message>
    <message>
        <source>任务列表无法保存（%1）；稍后将再次尝试。</source>
        <translation>Списки заданий не удалось сохранить (%1); сохранение будет повторено.</translation>
    </message>
    <message>
        <source>%1 的作业没有完成；在继续或放弃它之前不会打印其他任务。</source>
        <translation>Задание %1 не завершено; ничего другого не печатается, пока его не продолжат или не отбросят.</translation>
    </message>
</context>
<context>
    <name>OperatorText</name>
    <message>
        <source>文件已不存在（被移走或删除）</source>
        <translation>файла больше нет (перемещён или удалён)</translation>
    </message>
    <message>
        <source>没有读取这个文件的权限</source>
        <translation>нет прав на чтение файла</translation>
    </message>
    <message>
        <source>文件是空的或太短</source>
        <translation>файл пуст или слишком короткий</translation>
    </message>
    <message>
        <source>文件超过 32 MB</source>
        <translation>файл больше 32 МБ</translation>
    </message>
    <message>
        <source>文件内容无法作为 HP-GL 读取</source>
        <translation>содержимое не читается как HP-GL</translation>
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
        <translation>Плоттер</translation>
    </message>
    <message>
        <source>机器</source>
        <translation>Машина</translation>
    </message>
    <message>
        <source>正在打印</source>
        <translation>Сейчас печатается</translation>
    </message>
    <message>
        <source>没有正在打印的作业</source>
        <translation>Нет задания в печати</translation>
    </message>
    <message>
        <source>剩余时间</source>
        <translation>осталось</translation>
    </message>
    <message>
        <source>任务列表</source>
        <translation>Очередь</translation>
    </message>
    <message>
        <source>列表为空</source>
        <translation>Очередь пуста</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>копий</translation>
    </message>
    <message>
        <source>最近打印</source>
        <translation>Недавно напечатано</translation>
    </message>
    <message>
        <source>被拒绝的文件</source>
        <translation>Отклонённые файлы</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>не подключена</translation>
    </message>
    <message>
        <source>正在启动</source>
        <translation>Запуск</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Готова</translation>
    </message>
    <message>
        <source>清洗中</source>
        <translation>Очистка</translation>
    </message>
    <message>
        <source>处理中</source>
        <translation>Обработка</translation>
    </message>
    <message>
        <source>打印中</source>
        <translation>Печать</translation>
    </message>
    <message>
        <source>收尾中</source>
        <translation>Завершение</translation>
    </message>
    <message>
        <source>已暂停</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>内存错误</source>
        <translation>Ошибка памяти</translation>
    </message>
    <message>
        <source>复位超时</source>
        <translation>Тайм-аут сброса</translation>
    </message>
    <message>
        <source>小车超时</source>
        <translation>Тайм-аут каретки</translation>
    </message>
    <message>
        <source>无应答</source>
        <translation>Нет ответа</translation>
    </message>
    <message>
        <source>自动打印</source>
        <translation>Автоматическая печать</translation>
    </message>
    <message>
        <source>开</source>
        <translation>Вкл.</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Выкл.</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Продолжить</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>排队</source>
        <translation>В очередь</translation>
    </message>
    <message>
        <source>合计</source>
        <translation>Итого</translation>
    </message>
    <message>
        <source>已结束的作业</source>
        <translation>Завершённые задания</translation>
    </message>
    <message>
        <source>已打印</source>
        <translation>напечатано</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>остановлено</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>сбой</translation>
    </message>
    <message>
        <source>历史记录未开启 (HistoryEnable=0)</source>
        <translation>История выключена (HistoryEnable=0)</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Войти</translation>
    </message>
    <message>
        <source>令牌</source>
        <translation>Токен</translation>
    </message>
    <message>
        <source>令牌错误</source>
        <translation>Неверный токен</translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <source>鼠标:</source>
        <translation>Мышь:</translation>
    </message>
    <message>
        <source>绘图仪IP:</source>
        <translation>IP плоттера:</translation>
    </message>
    <message>
        <source>本地IP:</source>
        <translation>Локальный IP:</translation>
    </message>
</context>
<context>
    <name>UndoSteps</name>
    <message>
        <source>添加</source>
        <translation>добавление</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>удаление</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>копии</translation>
    </message>
    <message>
        <source>排队</source>
        <translation>постановку в очередь</translation>
    </message>
    <message>
        <source>取消排队</source>
        <translation>снятие с очереди</translation>
    </message>
    <message>
        <source>合并</source>
        <translation>объединение</translation>
    </message>
    <message>
        <source>分割</source>
        <translation>разделение</translation>
    </message>
    <message>
        <source>镜像</source>
        <translation>зеркало</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>поворот</translation>
    </message>
    <message>
        <source>打开任务文件</source>
        <translation>открытие файла заданий</translation>
    </message>
    <message>
        <source>移动</source>
        <translation>перемещение</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>правку</translation>
    </message>
    <message>
        <source>(%1 个任务)</source>
        <translation>(%1 заданий)</translation>
    </message>
</context>
<context>
    <name>inkvale::CAboutDialog</name>
    <message>
        <source>关于Inkvale</source>
        <translation>О программе Inkvale</translation>
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
        <translation>Ввод</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>请输入密码:</source>
        <translation>Введите пароль:</translation>
    </message>
</context>
<context>
    <name>inkvale::CMachineParamsDialog</name>
    <message>
        <source>机器设置</source>
        <translation>Настройки плоттера</translation>
    </message>
    <message>
        <source>喷头参数</source>
        <translation>Печатающие головки</translation>
    </message>
    <message>
        <source>喷头组合：</source>
        <translation>Комбинация головок:</translation>
    </message>
    <message>
        <source>双向打印</source>
        <translation>Двунаправленная печать</translation>
    </message>
    <message>
        <source>平板打印（打完回纸）</source>
        <translation>Планшетный режим (возврат бумаги после печати)</translation>
    </message>
    <message>
        <source>左列出墨</source>
        <translation>Печать левым рядом</translation>
    </message>
    <message>
        <source>右列出墨</source>
        <translation>Печать правым рядом</translation>
    </message>
    <message>
        <source>精打模式</source>
        <translation>Точный режим</translation>
    </message>
    <message>
        <source>边线调整</source>
        <translation>Коррекция кромки</translation>
    </message>
    <message>
        <source>机械参数</source>
        <translation>Механика</translation>
    </message>
    <message>
        <source>走纸轴步长基准</source>
        <translation>Базовый шаг вала подачи</translation>
    </message>
    <message>
        <source>裁断功能</source>
        <translation>Отрезной нож</translation>
    </message>
    <message>
        <source>裁断刀压</source>
        <translation>Давление ножа</translation>
    </message>
    <message>
        <source>第1刀</source>
        <translation>Нож 1</translation>
    </message>
    <message>
        <source>第2刀</source>
        <translation>Нож 2</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>По умолчанию</translation>
    </message>
    <message>
        <source>截图保存</source>
        <translation>Сохранить снимок экрана</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>喷头1</source>
        <translation>головка 1</translation>
    </message>
    <message>
        <source>喷头2</source>
        <translation>головка 2</translation>
    </message>
    <message>
        <source>喷头3</source>
        <translation>головка 3</translation>
    </message>
    <message>
        <source>喷头4</source>
        <translation>головка 4</translation>
    </message>
    <message>
        <source>左</source>
        <translation>слева</translation>
    </message>
    <message>
        <source>右</source>
        <translation>справа</translation>
    </message>
    <message>
        <source>起点</source>
        <translation>начало</translation>
    </message>
    <message>
        <source>终点</source>
        <translation>конец</translation>
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
        <translation>Перекрытие головок по X</translation>
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
        <translation>Положение головки</translation>
    </message>
    <message>
        <source>回来接线</source>
        <translation>Стык обратного прохода</translation>
    </message>
    <message>
        <source>点火脉宽</source>
        <translation>Длительность импульса</translation>
    </message>
    <message>
        <source>微秒</source>
        <translation>µs</translation>
    </message>
    <message>
        <source>喷头左右两列间距</source>
        <translation>Расстояние между рядами сопел головки</translation>
    </message>
    <message>
        <source>缓冲距离</source>
        <translation>Буферное расстояние</translation>
    </message>
    <message>
        <source>边距</source>
        <translation>Отступ</translation>
    </message>
    <message>
        <source>像素</source>
        <translation>пикселей</translation>
    </message>
    <message>
        <source>小车行程限制</source>
        <translation>Ограничение хода каретки</translation>
    </message>
    <message>
        <source>刹车距离</source>
        <translation>Тормозной путь</translation>
    </message>
    <message>
        <source>小车起始速度</source>
        <translation>Начальная скорость каретки</translation>
    </message>
    <message>
        <source>小车最大速度</source>
        <translation>Макс. скорость каретки</translation>
    </message>
    <message>
        <source>进退纸速度</source>
        <translation>Скорость подачи бумаги</translation>
    </message>
</context>
<context>
    <name>inkvale::CMachineAddressDialog</name>
    <message>
        <source>网络设置</source>
        <translation>Настройки сети</translation>
    </message>
    <message>
        <source>绘图仪IP</source>
        <translation>IP плоттера</translation>
    </message>
    <message>
        <source>提示1：将绘图仪IP的前3段和电脑IP前3段的数字设置成一样才能正常联机</source>
        <translation>Примечание 1: первые три числа IP плоттера должны совпадать с первыми тремя числами IP этого компьютера, иначе соединение невозможно.</translation>
    </message>
    <message>
        <source>提示2：开机时按住“暂停/启动键”3秒，机器IP会恢复为默认值 (192.168.1.175)</source>
        <translation>Примечание 2: если при включении плоттера удерживать клавишу «Пауза/Старт» 3 секунды, восстановится IP по умолчанию (192.168.1.175).</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>inkvale::COffsetDialog</name>
    <message>
        <source>左偏移设定</source>
        <translation>Левое смещение</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>左偏移</source>
        <translation>Левое смещение</translation>
    </message>
</context>
<context>
    <name>inkvale::CHpglUnitDialog</name>
    <message>
        <source>下次打开plt时不弹出此对话框</source>
        <translation>Не показывать это окно при следующем открытии plt-файла</translation>
    </message>
    <message>
        <source>plt文件单位</source>
        <translation>Единицы файла PLT</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>绘图单位</source>
        <translation>Единицы плоттера</translation>
    </message>
</context>
<context>
    <name>inkvale::CSettingsDialog</name>
    <message>
        <source>系统设置</source>
        <translation>Настройки системы</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>inkvale::CPreviewView</name>
    <message>
        <source>适合整个图形</source>
        <translation>Вписать весь рисунок</translation>
    </message>
</context>
<context>
    <name>inkvale::CLoadProgress</name>
    <message>
        <source>正在读取 %1 ...</source>
        <translation>Чтение %1 ...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>inkvale::CUserSettingsPage</name>
    <message>
        <source>手动打开时文件过滤</source>
        <translation>Файлы для кнопки «Добавить»</translation>
    </message>
    <message>
        <source>所有文件(*.*)</source>
        <translation>Все файлы (*.*)</translation>
    </message>
    <message>
        <source>HPGL文件(*.p*;*.h*;*.spl)</source>
        <translation>Файлы HP-GL (*.p*;*.h*;*.spl)</translation>
    </message>
    <message>
        <source>dxf文件(*.dxf)</source>
        <translation>Файлы DXF (*.dxf)</translation>
    </message>
    <message>
        <source>支持的文件(*.p*;*.h*;*.spl;*.dxf)</source>
        <translation>Поддерживаемые файлы (*.p*;*.h*;*.spl;*.dxf)</translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation>Цвет фона</translation>
    </message>
    <message>
        <source>坐标和外框颜色</source>
        <translation>Цвет осей и рамки</translation>
    </message>
    <message>
        <source>网格颜色</source>
        <translation>Цвет сетки</translation>
    </message>
    <message>
        <source>线条颜色</source>
        <translation>Цвет линий</translation>
    </message>
    <message>
        <source>文件添加到列表后自动预览</source>
        <translation>Предпросмотр файла при добавлении в список</translation>
    </message>
    <message>
        <source>自动删除份数为0的项</source>
        <translation>Автоматически удалять позиции с 0 копий</translation>
    </message>
    <message>
        <source>在图形结尾打印文件名</source>
        <translation>Печатать имя файла после чертежа</translation>
    </message>
    <message>
        <source>打印开始前清洗喷头</source>
        <translation>Чистка сопел перед печатью</translation>
    </message>
    <message>
        <source>分页指令处理方式</source>
        <translation>Обработка команды страницы</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Применить</translation>
    </message>
    <message>
        <source>喷头清洗浓度</source>
        <translation>Интенсивность чистки сопел</translation>
    </message>
    <message>
        <source>方式1</source>
        <translation>Способ 1</translation>
    </message>
    <message>
        <source>方式2</source>
        <translation>Способ 2</translation>
    </message>
</context>
<context>
    <name>inkvale::CDirectorySettingsPage</name>
    <message>
        <source>手动目录</source>
        <translation>Папка ручного добавления</translation>
    </message>
    <message>
        <source>自动目录</source>
        <translation>Папка автодобавления</translation>
    </message>
    <message>
        <source>备份目录</source>
        <translation>Папка резервных копий</translation>
    </message>
    <message>
        <source>打印历史</source>
        <translation>Журнал печати</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Изменить...</translation>
    </message>
    <message>
        <source>自动备份已打印的文件</source>
        <translation>Резервировать напечатанные файлы</translation>
    </message>
    <message>
        <source>保存打印历史</source>
        <translation>Вести журнал печати</translation>
    </message>
    <message>
        <source>线条加黑</source>
        <translation>Жирные линии</translation>
    </message>
    <message>
        <source>文件过滤：</source>
        <translation>Фильтр файлов:</translation>
    </message>
    <message>
        <source>logo设置:</source>
        <translation>Текст логотипа:</translation>
    </message>
    <message>
        <source>线条粗细设置</source>
        <translation>Толщина линий</translation>
    </message>
    <message>
        <source>像素</source>
        <translation> пикс.</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Применить</translation>
    </message>
    <message>
        <source>备份目录不能是自动目录或手动目录，也不能在其中。</source>
        <translation>Папка резервных копий не может быть автоматической или ручной папкой и не может находиться внутри них.</translation>
    </message>
    <message>
        <source>没有文件模式：文件夹不会取任何文件。</source>
        <translation>Нет шаблона файлов: папки не принимают никаких файлов.</translation>
    </message>
    <message>
        <source>文件夹取用：%1（不区分大小写）</source>
        <translation>Папки принимают: %1 (регистр не учитывается)</translation>
    </message>
</context>
<context>
    <name>inkvale::CPlotSettingsPage</name>
    <message>
        <source>比例参数存于主板</source>
        <translation>Коэффициенты масштаба в плоттере</translation>
    </message>
    <message>
        <source>比例参数存于电脑</source>
        <translation>Коэффициенты масштаба на компьютере</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Применить</translation>
    </message>
    <message>
        <source>启用分页</source>
        <translation>Разбивка на полосы</translation>
    </message>
    <message>
        <source>分页前先旋转</source>
        <translation>Поворот перед разбивкой</translation>
    </message>
    <message>
        <source>是否镜像</source>
        <translation>Зеркально</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Обновить</translation>
    </message>
    <message>
        <source>设计尺寸</source>
        <translation>Заданный размер</translation>
    </message>
    <message>
        <source>实测尺寸</source>
        <translation>Измеренный размер</translation>
    </message>
    <message>
        <source>比例系数</source>
        <translation>Коэффициент</translation>
    </message>
    <message>
        <source>纸长</source>
        <translation>Длина бумаги</translation>
    </message>
    <message>
        <source>纸宽</source>
        <translation>Ширина бумаги</translation>
    </message>
    <message>
        <source>分页宽度</source>
        <translation>Ширина полосы</translation>
    </message>
    <message>
        <source>分页间距</source>
        <translation>Зазор между полосами</translation>
    </message>
    <message>
        <source>打印前进纸</source>
        <translation>Подача перед печатью</translation>
    </message>
    <message>
        <source>打印后进纸</source>
        <translation>Подача после печати</translation>
    </message>
    <message>
        <source>Dxf文件单位</source>
        <translation>Единица файла DXF</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
</context>
</TS>
