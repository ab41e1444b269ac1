<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA" sourcelanguage="zh_CN">
<context>
    <name>CCommandBar</name>
    <message>
        <source>添加</source>
        <translation>Додати</translation>
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
        <translation>Скидання</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Видалити</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Зберегти</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Більше</translation>
    </message>
    <message>
        <source>减少</source>
        <translation>Менше</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Поворот</translation>
    </message>
    <message>
        <source>左走</source>
        <translation>Вліво</translation>
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
        <translation>Зміщення</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Опції</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Параметри</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Авто</translation>
    </message>
    <message>
        <source>语言设置改变，重启生效</source>
        <translation>Мову змінено, перезапустіть програму</translation>
    </message>
    <message>
        <source>添加plt</source>
        <translation>Додати plt</translation>
    </message>
    <message>
        <source>保存plt</source>
        <translation>Зберегти plt</translation>
    </message>
    <message>
        <source>小车向左</source>
        <translation>Каретка ліворуч</translation>
    </message>
    <message>
        <source>小车向右</source>
        <translation>Каретка праворуч</translation>
    </message>
    <message>
        <source>送纸</source>
        <translation>Подача паперу</translation>
    </message>
    <message>
        <source>测试喷头</source>
        <translation>Тест сопел</translation>
    </message>
    <message>
        <source>设置起喷偏移</source>
        <translation>Зміщення початку друку</translation>
    </message>
    <message>
        <source>适合</source>
        <translation>За розміром вікна</translation>
    </message>
    <message>
        <source>设置起喷点</source>
        <translation>Точка початку друку</translation>
    </message>
    <message>
        <source>移动视图</source>
        <translation>Зсув вигляду</translation>
    </message>
    <message>
        <source>选择线条</source>
        <translation>Вибір ліній</translation>
    </message>
    <message>
        <source>移动线条</source>
        <translation>Зсув ліній</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Продовжити</translation>
    </message>
</context>
<context>
    <name>CDlgFieldReader</name>
    <message>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Введіть ціле число від %1 до %2.</translation>
    </message>
    <message>
        <source>请输入一个 %1 至 %2 之间的数字。</source>
        <translation>Введіть число від %1 до %2.</translation>
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
        <translation>Не вдається використати файл блокування %1: %2. Неможливо визначити, чи програма вже запущена, тому вона не запуститься.</translation>
    </message>
    <message>
        <source>无法在本地套接字 %1 上监听：%2。程序不会启动。</source>
        <translation>Не вдається прослуховувати локальний сокет %1: %2. Програма не запуститься.</translation>
    </message>
    <message>
        <source>无法使用安装目录 %1：%2。--home 必须指向一个已存在且可写入的目录；程序不会启动。</source>
        <translation>Неможливо використати каталог встановлення %1: %2. --home має вказувати на наявний каталог, доступний для запису; програма не запускається.</translation>
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
        <translation>Відкрити</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Видалити</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>Ви&amp;хід</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;Вигляд</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>За розміром вікна</translation>
    </message>
    <message>
        <source>控制面板</source>
        <translation>Панель керування</translation>
    </message>
    <message>
        <source>隐藏</source>
        <translation>Сховати</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>&amp;Налаштування</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>Налаштування системи</translation>
    </message>
    <message>
        <source>机器参数</source>
        <translation>Параметри плотера</translation>
    </message>
    <message>
        <source>绘图单位</source>
        <translation>Одиниці плотера</translation>
    </message>
    <message>
        <source>通讯(&amp;C)</source>
        <translation>&amp;Зв&apos;язок</translation>
    </message>
    <message>
        <source>网口</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>免驱USB(USB打印支持)</source>
        <translation>USB без драйвера (друк через USB)</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Довідка</translation>
    </message>
    <message>
        <source>关于(&amp;A)...</source>
        <translation>&amp;Про програму...</translation>
    </message>
    <message>
        <source>此开发版本只能连接本机回环网络 (127.0.0.0/8)，无法连接 %1；请用 package 预设构建 (cmake --preset package) 以连接真实的绘图仪。</source>
        <translation>Ця збірка для розробки з&apos;єднується лише з мережею loopback (127.0.0.0/8), а не з %1; щоб з&apos;єднатися зі справжнім плотером, зберіть програму з пресетом package (cmake --preset package).</translation>
    </message>
    <message>
        <source>打开任务文件...</source>
        <translation>Відкрити файл завдань...</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Редагування</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Скасувати</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Повторити</translation>
    </message>
    <message>
        <source>打开保存的打印任务</source>
        <translation>Відкрити збережені завдання друку</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>在第 %1 / %2 条带处中断（已打印 %3 米，共 %4 米）</source>
        <translation>Перервано на смузі %1 з %2 (надруковано %3 м з %4 м)</translation>
    </message>
    <message>
        <source>%1 的打印没有完成。</source>
        <translation>Друк %1 не завершено.</translation>
    </message>
    <message>
        <source>原因：%1</source>
        <translation>Причина: %1</translation>
    </message>
    <message>
        <source>从第 %1 / %2 条带继续</source>
        <translation>Продовжити зі смуги %1 з %2</translation>
    </message>
    <message>
        <source>从头打印</source>
        <translation>Друкувати з початку</translation>
    </message>
    <message>
        <source>放弃</source>
        <translation>Відмовитися</translation>
    </message>
    <message>
        <source>中断的作业</source>
        <translation>Перерване завдання</translation>
    </message>
    <message>
        <source>%1 × %2 mm，%3 个条带，用纸 %4 米，约 %5</source>
        <translation>%1 × %2 мм, смуг: %3, паперу %4 м, близько %5</translation>
    </message>
    <message>
        <source>墨水 (ml)：%1 / %2 / %3 / %4</source>
        <translation>Чорнило (мл): %1 / %2 / %3 / %4</translation>
    </message>
    <message>
        <source>%1 个任务 · %2 米 · %3 · 墨水 %4 ml</source>
        <translation>Завдань: %1 · %2 м · %3 · чорнило %4 мл</translation>
    </message>
    <message>
        <source>保存任务文件...</source>
        <translation>Зберегти файл завдань...</translation>
    </message>
    <message>
        <source>欢迎使用喷墨绘图仪</source>
        <translation>Ласкаво просимо: струменевий плотер</translation>
    </message>
    <message>
        <source>停止这个任务并关闭自动打印吗？
还有 %1 带没有打印。</source>
        <translation>Зупинити це завдання і вимкнути автоматичний друк?
Ще не надруковано смуг: %1.</translation>
    </message>
    <message>
        <source>机器状态</source>
        <translation>Стан плотера</translation>
    </message>
    <message>
        <source>等待</source>
        <translation>Чекати</translation>
    </message>
    <message>
        <source>还有 %1 个未完成的作业。</source>
        <translation>Ще незавершених завдань: %1.</translation>
    </message>
    <message>
        <source>保留</source>
        <translation>Залишити</translation>
    </message>
</context>
<context>
    <name>CQtPreviewPrompts</name>
    <message>
        <source>输入</source>
        <translation>Введення</translation>
    </message>
</context>
<context>
    <name>JobStatus</name>
    <message>
        <source>约 %1 分钟</source>
        <translation>близько %1 хв</translation>
    </message>
    <message>
        <source>，剩余%1</source>
        <translation>, лишилося %1</translation>
    </message>
    <message>
        <source>，还有 %1 份</source>
        <translation>, ще копій: %1</translation>
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
        <translation>, плотер не відповідає з %1</translation>
    </message>
    <message>
        <source>等待绘图仪</source>
        <translation>Очікування плотера</translation>
    </message>
    <message>
        <source>第 %1/%2 带（从第 %3 带继续）</source>
        <translation>смуга %1 з %2 (продовжено з %3)</translation>
    </message>
    <message>
        <source>第 %1/%2 带</source>
        <translation>смуга %1 з %2</translation>
    </message>
    <message>
        <source>%1：%2，已打印 %3 m / %4 m</source>
        <translation>%1: %2, надруковано %3 м з %4 м</translation>
    </message>
</context>
<context>
    <name>ListTexts</name>
    <message>
        <source>打印中</source>
        <translation>Друк</translation>
    </message>
    <message>
        <source>等待打印</source>
        <translation>Очікування</translation>
    </message>
    <message>
        <source>手动目录</source>
        <translation>Ручна тека</translation>
    </message>
    <message>
        <source>自动目录</source>
        <translation>Автотека</translation>
    </message>
    <message>
        <source>手动打开</source>
        <translation>Вручну</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>文件打开失败!</source>
        <translation>Не вдалося відкрити файл!</translation>
    </message>
    <message>
        <source>重复打开</source>
        <translation>Файл уже відкрито</translation>
    </message>
    <message>
        <source>文件大小超出限制</source>
        <translation>Розмір файлу перевищує межу</translation>
    </message>
    <message>
        <source>超出机器幅宽！请重新设置右边据和纸张宽度！</source>
        <translation>Завдання ширше за робоче поле машини! Змініть правий відступ і ширину паперу!</translation>
    </message>
    <message>
        <source>意外的文件格式。</source>
        <translation>Неочікуваний формат файлу.</translation>
    </message>
    <message>
        <source>读取 %1 时发生了错误。</source>
        <translation>Помилка під час читання %1.</translation>
    </message>
    <message>
        <source>设置文件无法读取，已保留为 %1。程序正在使用默认设置（包括机器的 IP 地址），请检查设置。</source>
        <translation>Файл налаштувань не вдалося прочитати, його збережено як %1. Програма працює з типовими налаштуваннями (зокрема IP-адресою машини); перевірте налаштування.</translation>
    </message>
    <message>
        <source>由于输入的段长太短，分割失败！</source>
        <translation>Довжина відрізка замала, поділ не виконано!</translation>
    </message>
    <message>
        <source>分割段长 %1 mm 不短于图形长度 %2 mm，没有分割。</source>
        <translation>Довжина відрізка %1 мм не менша за довжину рисунка (%2 мм); нічого не поділено.</translation>
    </message>
    <message>
        <source>对话框打开期间该任务已被删除或替换，没有执行操作。</source>
        <translation>Поки діалог був відкритий, завдання було видалено або замінено; нічого не зроблено.</translation>
    </message>
    <message>
        <source>没有选中任务，没有打印。</source>
        <translation>Жодне завдання не виділено; нічого не надруковано.</translation>
    </message>
    <message>
        <source>选中的任务已不在列表中，没有打印。</source>
        <translation>Виділене завдання більше не в списках; нічого не надруковано.</translation>
    </message>
    <message>
        <source>%1 已不在文件夹中或已被改写，没有打印。</source>
        <translation>%1 більше немає в теці в прочитаному вигляді (видалено або перезаписано); не надруковано.</translation>
    </message>
    <message>
        <source>自动文件夹中的 %1 无法打印，已移到 %2，旁边的文本文件说明了原因。</source>
        <translation>%1 з автоматичної папки не можна надрукувати. Файл переміщено до %2; текстовий файл поруч пояснює причину.</translation>
    </message>
    <message>
        <source>%1 无法打印，也无法移到 Rejected 文件夹（%2）。文件保留在原处。</source>
        <translation>%1 не можна надрукувати, і його не вдалося перемістити до теки Rejected (%2). Файл лишається на місці.</translation>
    </message>
    <message>
        <source>%1 有 %2 MB，超过了 %3 MB 的文件大小限制。</source>
        <translation>%1 має %2 МБ, більше за обмеження розміру файлу в %3 МБ.</translation>
    </message>
    <message>
        <source>机器没有应答：请检查电源、网线或 USB 线，以及机器的地址。</source>
        <translation>Машина не відповідає: перевірте живлення, мережевий або USB-кабель і адресу машини.</translation>
    </message>
    <message>
        <source>机器还没有准备就绪。</source>
        <translation>Машина ще не готова.</translation>
    </message>
    <message>
        <source>正在打印任务，请等它结束。</source>
        <translation>Друкується завдання; дочекайтеся його завершення.</translation>
    </message>
    <message>
        <source>没有正在打印的任务可以暂停。</source>
        <translation>Немає завдання, що друкується, яке можна призупинити.</translation>
    </message>
    <message>
        <source>没有可以停止的任务。</source>
        <translation>Немає завдання, яке можна зупинити.</translation>
    </message>
    <message>
        <source>%1 无法作为图形读取。</source>
        <translation>%1 не вдається прочитати як рисунок.</translation>
    </message>
    <message>
        <source>%1 中没有可以打印的内容（例如只有 HP-GL/2 光栅数据）。</source>
        <translation>У %1 немає нічого, що можна надрукувати (наприклад, лише растрові дані HP-GL/2).</translation>
    </message>
    <message>
        <source>%1 的图形远宽于纸卷，请检查绘图单位设置。</source>
        <translation>Рисунок %1 значно ширший за рулон; перевірте налаштування одиниць.</translation>
    </message>
    <message>
        <source>作业开始后 %1 已被修改，无法继续打印。请从头打印。</source>
        <translation>%1 змінився після початку завдання, тому його не можна продовжити. Надрукуйте його з початку.</translation>
    </message>
    <message>
        <source>作业开始后机器的喷头参数已更改，无法继续打印。请从头打印。</source>
        <translation>Параметри головок машини змінилися після початку завдання, тому його не можна продовжити. Надрукуйте його з початку.</translation>
    </message>
    <message>
        <source>无法继续中断的作业：%1</source>
        <translation>Перерване завдання не можна продовжити: %1</translation>
    </message>
    <message>
        <source>%1 的尺寸为 %2，不像是唛架；乘以 %3 后为 %4。请检查单位设置：%5</source>
        <translation>Розмір %1 — %2, малоймовірний для розкладки; у масштабі %3 він був би %4. Перевірте налаштування одиниць: %5</translation>
    </message>
    <message>
        <source>%1 的尺寸为 %2，不像是唛架，请检查单位设置。</source>
        <translation>Розмір %1 — %2, малоймовірний для розкладки; перевірте налаштування одиниць.</translation>
    </message>
    <message>
        <source>%1 有部分图形在纸张之外（X 或 Y 小于 0）。</source>
        <translation>Частини %1 лежать поза папером (X або Y менше 0).</translation>
    </message>
    <message>
        <source>%1 与 %2 的文件内容相同。</source>
        <translation>%1 має той самий вміст, що й %2.</translation>
    </message>
    <message>
        <source>上次保存的任务列表无法读取，已另存为 %1；任务列表为空。</source>
        <translation>Збережені списки завдань не вдалося прочитати; їх відкладено як %1, списки починаються порожніми.</translation>
    </message>
    <message>
        <source>%1 中只有文字，没有裁片轮廓。</source>
        <translation>У %1 лише текст, немає контурів деталей.</translation>
    </message>
    <message>
        <source>%1 中有以下内容未绘制：%2。</source>
        <translation>У %1 є те, що не малюється: %2.</translation>
    </message>
    <message>
        <source>%1 宽 %2 mm，超出机器可打印宽度 %3 mm。请在 系统设置 ▸ 绘图设置 中勾选“启用分页”，并把“分页宽度”设为不超过 %3 mm。</source>
        <translation>Ширина %1 — %2 мм; машина друкує не ширше %3 мм. Увімкніть «Розбиття на смуги» у Налаштування системи ▸ Налаштування друку і задайте ширину смуги не більше %3 мм.</translation>
    </message>
    <message>
        <source>无法写入作业记录，作业不能继续：%1</source>
        <translation>Запис завдання не вдається зберегти, тому завдання не продовжується: %1</translation>
    </message>
    <message>
        <source>绘图仪仍停在中断的作业中；请在绘图仪上或在此处按停止。</source>
        <translation>Плотер досі в перерваному завданні; натисніть «Стоп» на плотері або тут.</translation>
    </message>
    <message>
        <source>任务列表无法保存（%1）；稍后将再次尝试。</source>
        <translation>Списки завдань не вдалося зберегти (%1); збереження буде повторено.</translation>
    </message>
    <message>
        <source>%1 的作业没有完成；在继续或放弃它之前不会打印其他任务。</source>
        <translation>Завдання %1 не завершено; нічого іншого не друкується, доки його не продовжать або не відкинуть.</translation>
    </message>
</context>
<context>
    <name>OperatorText</name>
    <message>
        <source>文件已不存在（被移走或删除）</source>
        <translation>файлу більше немає (переміщено або видалено)</translation>
    </message>
    <message>
        <source>没有读取这个文件的权限</source>
        <translation>немає прав на читання файлу</translation>
    </message>
    <message>
        <source>文件是空的或太短</source>
        <translation>файл порожній або надто короткий</translation>
    </message>
    <message>
        <source>文件超过 32 MB</source>
        <translation>файл більший за 32 МБ</translation>
    </message>
    <message>
        <source>文件内容无法作为 HP-GL 读取</source>
        <translation>вміст не читається як HP-GL</translation>
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
        <translation>Плотер</translation>
    </message>
    <message>
        <source>机器</source>
        <translation>Машина</translation>
    </message>
    <message>
        <source>正在打印</source>
        <translation>Зараз друкується</translation>
    </message>
    <message>
        <source>没有正在打印的作业</source>
        <translation>Немає завдання в друці</translation>
    </message>
    <message>
        <source>剩余时间</source>
        <translation>залишилось</translation>
    </message>
    <message>
        <source>任务列表</source>
        <translation>Черга</translation>
    </message>
    <message>
        <source>列表为空</source>
        <translation>Черга порожня</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>копій</translation>
    </message>
    <message>
        <source>最近打印</source>
        <translation>Нещодавно надруковано</translation>
    </message>
    <message>
        <source>被拒绝的文件</source>
        <translation>Відхилені файли</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>не підключена</translation>
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
        <translation>Очищення</translation>
    </message>
    <message>
        <source>处理中</source>
        <translation>Обробка</translation>
    </message>
    <message>
        <source>打印中</source>
        <translation>Друк</translation>
    </message>
    <message>
        <source>收尾中</source>
        <translation>Завершення</translation>
    </message>
    <message>
        <source>已暂停</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>内存错误</source>
        <translation>Помилка пам&apos;яті</translation>
    </message>
    <message>
        <source>复位超时</source>
        <translation>Тайм-аут скидання</translation>
    </message>
    <message>
        <source>小车超时</source>
        <translation>Тайм-аут каретки</translation>
    </message>
    <message>
        <source>无应答</source>
        <translation>Немає відповіді</translation>
    </message>
    <message>
        <source>自动打印</source>
        <translation>Автоматичний друк</translation>
    </message>
    <message>
        <source>开</source>
        <translation>Увімк.</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Вимк.</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Продовжити</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>排队</source>
        <translation>У чергу</translation>
    </message>
    <message>
        <source>合计</source>
        <translation>Разом</translation>
    </message>
    <message>
        <source>已结束的作业</source>
        <translation>Завершені завдання</translation>
    </message>
    <message>
        <source>已打印</source>
        <translation>надруковано</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>зупинено</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>збій</translation>
    </message>
    <message>
        <source>历史记录未开启 (HistoryEnable=0)</source>
        <translation>Історію вимкнено (HistoryEnable=0)</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Увійти</translation>
    </message>
    <message>
        <source>令牌</source>
        <translation>Токен</translation>
    </message>
    <message>
        <source>令牌错误</source>
        <translation>Невірний токен</translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <source>鼠标:</source>
        <translation>Миша:</translation>
    </message>
    <message>
        <source>绘图仪IP:</source>
        <translation>IP плотера:</translation>
    </message>
    <message>
        <source>本地IP:</source>
        <translation>Локальний IP:</translation>
    </message>
</context>
<context>
    <name>UndoSteps</name>
    <message>
        <source>添加</source>
        <translation>додавання</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>видалення</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>копії</translation>
    </message>
    <message>
        <source>排队</source>
        <translation>постановку в чергу</translation>
    </message>
    <message>
        <source>取消排队</source>
        <translation>зняття з черги</translation>
    </message>
    <message>
        <source>合并</source>
        <translation>об&apos;єднання</translation>
    </message>
    <message>
        <source>分割</source>
        <translation>розділення</translation>
    </message>
    <message>
        <source>镜像</source>
        <translation>дзеркало</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>поворот</translation>
    </message>
    <message>
        <source>打开任务文件</source>
        <translation>відкриття файлу завдань</translation>
    </message>
    <message>
        <source>移动</source>
        <translation>переміщення</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>правку</translation>
    </message>
    <message>
        <source>(%1 个任务)</source>
        <translation>(%1 завдань)</translation>
    </message>
</context>
<context>
    <name>inkvale::CAboutDialog</name>
    <message>
        <source>关于Inkvale</source>
        <translation>Про програму Inkvale</translation>
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
        <translation>Введення</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>请输入密码:</source>
        <translation>Введіть пароль:</translation>
    </message>
</context>
<context>
    <name>inkvale::CMachineParamsDialog</name>
    <message>
        <source>机器设置</source>
        <translation>Налаштування плотера</translation>
    </message>
    <message>
        <source>喷头参数</source>
        <translation>Друкувальні головки</translation>
    </message>
    <message>
        <source>喷头组合：</source>
        <translation>Комбінація головок:</translation>
    </message>
    <message>
        <source>双向打印</source>
        <translation>Двонаправлений друк</translation>
    </message>
    <message>
        <source>平板打印（打完回纸）</source>
        <translation>Планшетний режим (повернення паперу після друку)</translation>
    </message>
    <message>
        <source>左列出墨</source>
        <translation>Друк лівим рядом</translation>
    </message>
    <message>
        <source>右列出墨</source>
        <translation>Друк правим рядом</translation>
    </message>
    <message>
        <source>精打模式</source>
        <translation>Точний режим</translation>
    </message>
    <message>
        <source>边线调整</source>
        <translation>Корекція кромки</translation>
    </message>
    <message>
        <source>机械参数</source>
        <translation>Механіка</translation>
    </message>
    <message>
        <source>走纸轴步长基准</source>
        <translation>Базовий крок вала подачі</translation>
    </message>
    <message>
        <source>裁断功能</source>
        <translation>Відрізний ніж</translation>
    </message>
    <message>
        <source>裁断刀压</source>
        <translation>Тиск ножа</translation>
    </message>
    <message>
        <source>第1刀</source>
        <translation>Ніж 1</translation>
    </message>
    <message>
        <source>第2刀</source>
        <translation>Ніж 2</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>За замовчуванням</translation>
    </message>
    <message>
        <source>截图保存</source>
        <translation>Зберегти знімок екрана</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Скасувати</translation>
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
        <translation>ліворуч</translation>
    </message>
    <message>
        <source>右</source>
        <translation>праворуч</translation>
    </message>
    <message>
        <source>起点</source>
        <translation>початок</translation>
    </message>
    <message>
        <source>终点</source>
        <translation>кінець</translation>
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
        <translation>Перекриття головок по X</translation>
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
        <translation>Положення головки</translation>
    </message>
    <message>
        <source>回来接线</source>
        <translation>Стик зворотного проходу</translation>
    </message>
    <message>
        <source>点火脉宽</source>
        <translation>Тривалість імпульсу</translation>
    </message>
    <message>
        <source>微秒</source>
        <translation>µs</translation>
    </message>
    <message>
        <source>喷头左右两列间距</source>
        <translation>Відстань між рядами сопел головки</translation>
    </message>
    <message>
        <source>缓冲距离</source>
        <translation>Буферна відстань</translation>
    </message>
    <message>
        <source>边距</source>
        <translation>Відступ</translation>
    </message>
    <message>
        <source>像素</source>
        <translation>пікселів</translation>
    </message>
    <message>
        <source>小车行程限制</source>
        <translation>Обмеження ходу каретки</translation>
    </message>
    <message>
        <source>刹车距离</source>
        <translation>Гальмівний шлях</translation>
    </message>
    <message>
        <source>小车起始速度</source>
        <translation>Початкова швидкість каретки</translation>
    </message>
    <message>
        <source>小车最大速度</source>
        <translation>Макс. швидкість каретки</translation>
    </message>
    <message>
        <source>进退纸速度</source>
        <translation>Швидкість подачі паперу</translation>
    </message>
</context>
<context>
    <name>inkvale::CMachineAddressDialog</name>
    <message>
        <source>网络设置</source>
        <translation>Налаштування мережі</translation>
    </message>
    <message>
        <source>绘图仪IP</source>
        <translation>IP плотера</translation>
    </message>
    <message>
        <source>提示1：将绘图仪IP的前3段和电脑IP前3段的数字设置成一样才能正常联机</source>
        <translation>Примітка 1: перші три числа IP плотера мають збігатися з першими трьома числами IP цього комп&apos;ютера, інакше з&apos;єднання неможливе.</translation>
    </message>
    <message>
        <source>提示2：开机时按住“暂停/启动键”3秒，机器IP会恢复为默认值 (192.168.1.175)</source>
        <translation>Примітка 2: якщо під час увімкнення плотера утримувати клавішу «Пауза/Старт» 3 секунди, відновиться типова IP-адреса (192.168.1.175).</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Скасувати</translation>
    </message>
</context>
<context>
    <name>inkvale::COffsetDialog</name>
    <message>
        <source>左偏移设定</source>
        <translation>Ліве зміщення</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Скасувати</translation>
    </message>
    <message>
        <source>左偏移</source>
        <translation>Ліве зміщення</translation>
    </message>
</context>
<context>
    <name>inkvale::CHpglUnitDialog</name>
    <message>
        <source>下次打开plt时不弹出此对话框</source>
        <translation>Не показувати це вікно під час наступного відкриття plt-файлу</translation>
    </message>
    <message>
        <source>plt文件单位</source>
        <translation>Одиниці файлу PLT</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Скасувати</translation>
    </message>
    <message>
        <source>绘图单位</source>
        <translation>Одиниці плотера</translation>
    </message>
</context>
<context>
    <name>inkvale::CSettingsDialog</name>
    <message>
        <source>系统设置</source>
        <translation>Налаштування системи</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Скасувати</translation>
    </message>
</context>
<context>
    <name>inkvale::CPreviewView</name>
    <message>
        <source>适合整个图形</source>
        <translation>Вписати весь рисунок</translation>
    </message>
</context>
<context>
    <name>inkvale::CLoadProgress</name>
    <message>
        <source>正在读取 %1 ...</source>
        <translation>Читання %1 ...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Скасувати</translation>
    </message>
</context>
<context>
    <name>inkvale::CUserSettingsPage</name>
    <message>
        <source>手动打开时文件过滤</source>
        <translation>Файли для кнопки «Додати»</translation>
    </message>
    <message>
        <source>所有文件(*.*)</source>
        <translation>Усі файли (*.*)</translation>
    </message>
    <message>
        <source>HPGL文件(*.p*;*.h*;*.spl)</source>
        <translation>Файли HP-GL (*.p*;*.h*;*.spl)</translation>
    </message>
    <message>
        <source>dxf文件(*.dxf)</source>
        <translation>Файли DXF (*.dxf)</translation>
    </message>
    <message>
        <source>支持的文件(*.p*;*.h*;*.spl;*.dxf)</source>
        <translation>Підтримувані файли (*.p*;*.h*;*.spl;*.dxf)</translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation>Колір фону</translation>
    </message>
    <message>
        <source>坐标和外框颜色</source>
        <translation>Колір осей і рамки</translation>
    </message>
    <message>
        <source>网格颜色</source>
        <translation>Колір сітки</translation>
    </message>
    <message>
        <source>线条颜色</source>
        <translation>Колір ліній</translation>
    </message>
    <message>
        <source>文件添加到列表后自动预览</source>
        <translation>Попередній перегляд файлу під час додавання до списку</translation>
    </message>
    <message>
        <source>自动删除份数为0的项</source>
        <translation>Автоматично видаляти позиції з 0 копій</translation>
    </message>
    <message>
        <source>在图形结尾打印文件名</source>
        <translation>Друкувати ім&apos;я файлу після креслення</translation>
    </message>
    <message>
        <source>打印开始前清洗喷头</source>
        <translation>Чистка сопел перед друком</translation>
    </message>
    <message>
        <source>分页指令处理方式</source>
        <translation>Обробка команди сторінки</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Застосувати</translation>
    </message>
    <message>
        <source>喷头清洗浓度</source>
        <translation>Інтенсивність чистки сопел</translation>
    </message>
    <message>
        <source>方式1</source>
        <translation>Спосіб 1</translation>
    </message>
    <message>
        <source>方式2</source>
        <translation>Спосіб 2</translation>
    </message>
</context>
<context>
    <name>inkvale::CDirectorySettingsPage</name>
    <message>
        <source>手动目录</source>
        <translation>Папка ручного додавання</translation>
    </message>
    <message>
        <source>自动目录</source>
        <translation>Папка автододавання</translation>
    </message>
    <message>
        <source>备份目录</source>
        <translation>Папка резервних копій</translation>
    </message>
    <message>
        <source>打印历史</source>
        <translation>Журнал друку</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Змінити...</translation>
    </message>
    <message>
        <source>自动备份已打印的文件</source>
        <translation>Резервувати надруковані файли</translation>
    </message>
    <message>
        <source>保存打印历史</source>
        <translation>Вести журнал друку</translation>
    </message>
    <message>
        <source>线条加黑</source>
        <translation>Жирні лінії</translation>
    </message>
    <message>
        <source>文件过滤：</source>
        <translation>Фільтр файлів:</translation>
    </message>
    <message>
        <source>logo设置:</source>
        <translation>Текст логотипу:</translation>
    </message>
    <message>
        <source>线条粗细设置</source>
        <translation>Товщина ліній</translation>
    </message>
    <message>
        <source>像素</source>
        <translation> пікс.</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Застосувати</translation>
    </message>
    <message>
        <source>备份目录不能是自动目录或手动目录，也不能在其中。</source>
        <translation>Тека резервних копій не може бути автоматичною чи ручною текою і не може бути всередині них.</translation>
    </message>
    <message>
        <source>没有文件模式：文件夹不会取任何文件。</source>
        <translation>Немає шаблону файлів: теки не беруть жодних файлів.</translation>
    </message>
    <message>
        <source>文件夹取用：%1（不区分大小写）</source>
        <translation>Теки беруть: %1 (регістр не враховується)</translation>
    </message>
</context>
<context>
    <name>inkvale::CPlotSettingsPage</name>
    <message>
        <source>比例参数存于主板</source>
        <translation>Коефіцієнти масштабу в плотері</translation>
    </message>
    <message>
        <source>比例参数存于电脑</source>
        <translation>Коефіцієнти масштабу на комп&apos;ютері</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Застосувати</translation>
    </message>
    <message>
        <source>启用分页</source>
        <translation>Розбиття на смуги</translation>
    </message>
    <message>
        <source>分页前先旋转</source>
        <translation>Поворот перед розбиттям</translation>
    </message>
    <message>
        <source>是否镜像</source>
        <translation>Дзеркально</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Оновити</translation>
    </message>
    <message>
        <source>设计尺寸</source>
        <translation>Заданий розмір</translation>
    </message>
    <message>
        <source>实测尺寸</source>
        <translation>Виміряний розмір</translation>
    </message>
    <message>
        <source>比例系数</source>
        <translation>Коефіцієнт</translation>
    </message>
    <message>
        <source>纸长</source>
        <translation>Довжина паперу</translation>
    </message>
    <message>
        <source>纸宽</source>
        <translation>Ширина паперу</translation>
    </message>
    <message>
        <source>分页宽度</source>
        <translation>Ширина смуги</translation>
    </message>
    <message>
        <source>分页间距</source>
        <translation>Проміжок між смугами</translation>
    </message>
    <message>
        <source>打印前进纸</source>
        <translation>Подача перед друком</translation>
    </message>
    <message>
        <source>打印后进纸</source>
        <translation>Подача після друку</translation>
    </message>
    <message>
        <source>Dxf文件单位</source>
        <translation>Одиниця файлу DXF</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
</context>
</TS>
