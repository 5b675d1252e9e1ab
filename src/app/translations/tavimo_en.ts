<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Tavimo</name>
    <message>
        <source>低点上涨</source>
        <translation>Rise</translation>
    </message>
    <message>
        <source>高点下跌</source>
        <translation>Decline</translation>
    </message>
    <message>
        <source>反弹阻力</source>
        <translation>Resistance</translation>
    </message>
    <message>
        <source>回调支撑</source>
        <translation>Support</translation>
    </message>
    <message>
        <source>起点上涨</source>
        <translation>Projection up</translation>
    </message>
    <message>
        <source>起点下跌</source>
        <translation>Projection down</translation>
    </message>
    <message>
        <source>低点</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>高点</source>
        <translation>High</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>tavimo::app::TChoiceListDialog</name>
    <message>
        <source>筛选</source>
        <translation>Filter</translation>
    </message>
</context>
<context>
    <name>tavimo::app::TConfluenceForm</name>
    <message>
        <source>多波段汇合</source>
        <translation>Confluence of waves</translation>
    </message>
    <message>
        <source>波段(&amp;B)</source>
        <translation>&amp;Waves</translation>
    </message>
    <message>
        <source>波段表</source>
        <translation>Waves</translation>
    </message>
    <message>
        <source>起点 C（可选）</source>
        <translation>Start C (optional)</translation>
    </message>
    <message>
        <source>标注</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>添加波段(&amp;A)</source>
        <translation>&amp;Add wave</translation>
    </message>
    <message>
        <source>删除波段(&amp;D)</source>
        <translation>&amp;Delete wave</translation>
    </message>
    <message>
        <source>计入的价位</source>
        <translation>Levels included</translation>
    </message>
    <message>
        <source>汇合条件</source>
        <translation>Conditions</translation>
    </message>
    <message>
        <source>容差（%）</source>
        <translation>Tolerance (%)</translation>
    </message>
    <message>
        <source>最少波段数</source>
        <translation>Minimum waves</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>容差（%）(&amp;T)</source>
        <translation>&amp;Tolerance (%)</translation>
    </message>
    <message>
        <source>最少波段数(&amp;M)</source>
        <translation>&amp;Minimum waves</translation>
    </message>
    <message>
        <source>汇合区(&amp;Z)</source>
        <translation>&amp;Zones</translation>
    </message>
    <message>
        <source>汇合区表</source>
        <translation>Zones</translation>
    </message>
    <message>
        <source>低端</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>高端</source>
        <translation>High</translation>
    </message>
    <message>
        <source>波段数</source>
        <translation>Waves</translation>
    </message>
    <message>
        <source>价位数</source>
        <translation>Levels</translation>
    </message>
    <message>
        <source>构成</source>
        <translation>Members</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>复制(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>导出 CSV(&amp;E)…</source>
        <translation>&amp;Export CSV…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>起点 C</source>
        <translation>Start C</translation>
    </message>
    <message>
        <source>第 %1 行的%2为空，该行未计入</source>
        <translation>Row %1: %2 is empty, the row is left out</translation>
    </message>
    <message>
        <source>第 %1 行的%2有误，该行未计入：%3</source>
        <translation>Row %1: %2 is wrong, the row is left out: %3</translation>
    </message>
    <message>
        <source>（另有 %1 行未计入）</source>
        <translation> (%1 more rows left out)</translation>
    </message>
    <message>
        <source>容差应为不小于 0 的数</source>
        <translation>The tolerance must be a number of 0 or more</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>请输入波段的低点和高点</source>
        <translation>Enter the low and the high of each wave</translation>
    </message>
    <message>
        <source>汇合区：%1，波段：%2</source>
        <translation>Zones: %1, waves: %2</translation>
    </message>
    <message>
        <source>导出 CSV</source>
        <translation>Export CSV</translation>
    </message>
</context>
<context>
    <name>tavimo::app::TForm5</name>
    <message>
        <source>%1：编写炒股理财小工具的工作室。
软件力求小巧好用，不用安装。
本工作室提供以下服务：
1．定制股票分析公式和看盘工具；
2．把手工计算表格做成软件；
3．网站建设、小型数据库开发；
4．电脑常见问题的远程协助。
欢迎通过QQ或邮箱与我们联系，
有意见和建议也请告诉我们！</source>
        <translation>%1: small tools for share traders.
Small, handy, and no setup needed.
The studio offers these services:
1. Custom share formulas and tools;
2. Spreadsheets turned into programs;
3. Web sites and small databases;
4. Remote help with computer problems.
Reach us by QQ or e-mail, and please
tell us your comments and ideas!</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>版本%1</source>
        <translation>v%1</translation>
    </message>
    <message>
        <source>（</source>
        <translation>(</translation>
    </message>
    <message>
        <source>查看更新</source>
        <translation>Updates</translation>
    </message>
    <message>
        <source>）</source>
        <translation>)</translation>
    </message>
    <message>
        <source>QQ号:</source>
        <translation>QQ:</translation>
    </message>
    <message>
        <source>邮箱:</source>
        <translation>Mail:</translation>
    </message>
    <message>
        <source>博客:</source>
        <translation>Blog:</translation>
    </message>
    <message>
        <source>关于我</source>
        <translation>About us</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>tavimo::app::TForm7</name>
    <message>
        <source>:/tavimo/help.txt</source>
        <extracomment>The resource holding the help text; each language names its own text.</extracomment>
        <translation>:/tavimo/help_en.txt</translation>
    </message>
</context>
<context>
    <name>tavimo::app::TMainForm</name>
    <message>
        <source>请输入低点数据！</source>
        <translation>Please enter the low price!</translation>
    </message>
    <message>
        <source>请输入高点数据！</source>
        <translation>Please enter the high price!</translation>
    </message>
    <message>
        <source>请输入低点和高点数据！</source>
        <translation>Please enter the low and the high price!</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>价位图</source>
        <translation>Price levels</translation>
    </message>
    <message>
        <source>黄
金
分
割
点
计
算
结
果</source>
        <translation>L
E
V
E
L
S</translation>
    </message>
    <message>
        <source>设置</source>
        <comment>group box</comment>
        <translation>Settings</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>设置</source>
        <comment>button</comment>
        <translation>Setup</translation>
    </message>
    <message>
        <source>关于我</source>
        <translation>About</translation>
    </message>
    <message>
        <source>检查更新</source>
        <translation>Updates</translation>
    </message>
    <message>
        <source>反弹阻力</source>
        <translation>Resist.</translation>
    </message>
    <message>
        <source>计算器</source>
        <translation>Calc.</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>低点上涨：从低点算起的上涨价位</source>
        <translation>Rise: levels above the low</translation>
    </message>
    <message>
        <source>高点下跌：从高点算起的下跌价位</source>
        <translation>Decline: levels below the high</translation>
    </message>
    <message>
        <source>反弹阻力：低点之上的反弹阻力位</source>
        <translation>Resistance: rebound levels from the low</translation>
    </message>
    <message>
        <source>回调支撑：高点之下的回调支撑位</source>
        <translation>Support: pullback levels from the high</translation>
    </message>
    <message>
        <source>复制价位(&amp;C)</source>
        <translation>&amp;Copy levels</translation>
    </message>
    <message>
        <source>复位视图(&amp;R)</source>
        <translation>&amp;Reset view</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>所输数据有错误，请重新设置</source>
        <translation>The ratios entered are not valid; please set them again</translation>
    </message>
    <message>
        <source>保存图片(&amp;S)…</source>
        <translation>&amp;Save picture…</translation>
    </message>
    <message>
        <source>比例预设(&amp;P)</source>
        <translation>Ratio &amp;presets</translation>
    </message>
    <message>
        <source>默认比例</source>
        <translation>Default ratios</translation>
    </message>
    <message>
        <source>经典回撤</source>
        <translation>Classic retracements</translation>
    </message>
    <message>
        <source>扩展比例</source>
        <translation>Extensions</translation>
    </message>
    <message>
        <source>三分法</source>
        <translation>Thirds</translation>
    </message>
    <message>
        <source>将当前比例存为预设(&amp;A)…</source>
        <translation>S&amp;ave current list as preset…</translation>
    </message>
    <message>
        <source>删除预设(&amp;D)…</source>
        <translation>&amp;Delete preset…</translation>
    </message>
    <message>
        <source>存为预设</source>
        <translation>Save as preset</translation>
    </message>
    <message>
        <source>当前比例的预设名称：</source>
        <translation>Name of the preset for the current ratios:</translation>
    </message>
    <message>
        <source>预设名称不能为空，不能含有“=”，也不能以“;”或“[”开头</source>
        <translation>A preset name must not be empty, hold &quot;=&quot; or begin with &quot;;&quot; or &quot;[&quot;</translation>
    </message>
    <message>
        <source>删除预设</source>
        <translation>Delete preset</translation>
    </message>
    <message>
        <source>要删除的预设：</source>
        <translation>Preset to delete:</translation>
    </message>
    <message>
        <source>保存图片</source>
        <translation>Save picture</translation>
    </message>
    <message>
        <source>最小变动价位(&amp;T)…</source>
        <translation>Price &amp;tick…</translation>
    </message>
    <message>
        <source>多波段汇合(&amp;W)…</source>
        <translation>Confluence of &amp;waves…</translation>
    </message>
    <message>
        <source>对数刻度(&amp;L)</source>
        <translation>&amp;Log scale</translation>
    </message>
    <message>
        <source>对数刻度只用于反弹阻力、回调支撑和起点投影</source>
        <translation>Log scale applies to resistance, support and projections only</translation>
    </message>
    <message>
        <source>最小变动价位</source>
        <translation>Price tick</translation>
    </message>
    <message>
        <source>价格的最小变动单位，如 0.01（留空则不取整）：</source>
        <translation>The smallest price step, such as 0.01 (empty: levels are not rounded):</translation>
    </message>
    <message>
        <source>更多…</source>
        <translation>More…</translation>
    </message>
    <message>
        <source>选择预设</source>
        <translation>Choose preset</translation>
    </message>
    <message>
        <source>要使用的预设：</source>
        <translation>Preset to use:</translation>
    </message>
    <message>
        <source>无法读取“%1”：%2；使用默认比例列表。</source>
        <translation>Cannot read &apos;%1&apos;: %2; using the default ratio list.</translation>
    </message>
    <message>
        <source>价格图(&amp;O)…</source>
        <translation>&amp;Open price chart…</translation>
    </message>
    <message>
        <source>最近的价格文件(&amp;F)</source>
        <translation>Recent price &amp;files</translation>
    </message>
    <message>
        <source>打开价格文件</source>
        <translation>Open a price file</translation>
    </message>
</context>
<context>
    <name>tavimo::app::TPriceChartWindow</name>
    <message numerus="yes">
        <source>%n 行已跳过：</source>
        <translation>
            <numerusform>%n row skipped: </numerusform>
            <numerusform>%n rows skipped: </numerusform>
        </translation>
    </message>
    <message>
        <source>价格图 - %1</source>
        <translation>Price chart - %1</translation>
    </message>
    <message>
        <source>价格图</source>
        <translation>Price chart</translation>
    </message>
    <message>
        <source>工具</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>转折幅度(%)：</source>
        <translation>Swing &amp;change:</translation>
    </message>
    <message>
        <source>转折幅度</source>
        <translation>Swing change</translation>
    </message>
    <message>
        <source>跳过的行</source>
        <translation>Skipped rows</translation>
    </message>
    <message>
        <source>十字线</source>
        <translation>Crosshair</translation>
    </message>
    <message>
        <source>复制价位(&amp;C)</source>
        <translation>&amp;Copy levels</translation>
    </message>
    <message>
        <source>保存图片(&amp;S)…</source>
        <translation>&amp;Save picture…</translation>
    </message>
    <message>
        <source>显示全部(&amp;A)</source>
        <translation>Show &amp;all bars</translation>
    </message>
    <message>
        <source>对数刻度(&amp;L)</source>
        <translation>&amp;Log scale</translation>
    </message>
    <message>
        <source>交换涨跌颜色(&amp;W)</source>
        <translation>S&amp;wap candle colours</translation>
    </message>
    <message>
        <source>当前波段价位(&amp;U)</source>
        <translation>Levels of the c&amp;urrent leg</translation>
    </message>
    <message>
        <source>清除选择(&amp;E)</source>
        <translation>Cl&amp;ear selection</translation>
    </message>
    <message>
        <source>保存图片</source>
        <translation>Save picture</translation>
    </message>
    <message>
        <source>%1  开 %2  高 %3  低 %4  收 %5  量 %6  价 %7</source>
        <translation>%1  O %2  H %3  L %4  C %5  V %6  Price %7</translation>
    </message>
    <message numerus="yes">
        <source>%1 – %2（%n 个波段）</source>
        <translation>
            <numerusform>%1 – %2 (%n leg)</numerusform>
            <numerusform>%1 – %2 (%n legs)</numerusform>
        </translation>
    </message>
    <message>
        <source>反应统计</source>
        <translation>Reaction statistics</translation>
    </message>
    <message>
        <source>各比例的反应统计</source>
        <translation>Reactions at each ratio</translation>
    </message>
    <message>
        <source>比例</source>
        <translation>Ratio</translation>
    </message>
    <message>
        <source>触及</source>
        <translation>Hits</translation>
    </message>
    <message>
        <source>触及率%</source>
        <translation>Hit %</translation>
    </message>
    <message>
        <source>延续率%</source>
        <translation>Resumed %</translation>
    </message>
    <message>
        <source>回撤深度分布</source>
        <translation>Depths of the retracements</translation>
    </message>
    <message numerus="yes">
        <source>反应统计（%n 次回撤）</source>
        <translation>
            <numerusform>Reaction statistics (%n retracement)</numerusform>
            <numerusform>Reaction statistics (%n retracements)</numerusform>
        </translation>
    </message>
    <message>
        <source>统计容差：</source>
        <translation>Statistics &amp;tolerance:</translation>
    </message>
    <message>
        <source>统计容差</source>
        <translation>Statistics tolerance</translation>
    </message>
    <message>
        <source>回撤深度与比率相差不超过此值即计为命中</source>
        <translation>A retracement whose depth lies this close to a ratio counts as a hit</translation>
    </message>
</context>
<context>
    <name>tavimo::app::TQtPrompter</name>
    <message>
        <source>价格文件 (*.csv *.txt);;所有文件 (*)</source>
        <translation>Price files (*.csv *.txt);;All files (*)</translation>
    </message>
</context>
<context>
    <name>tavimo::app::TRatioInputDialog</name>
    <message>
        <source>用逗号分隔所输值     s</source>
        <translation>Separate the values with commas</translation>
    </message>
    <message>
        <source>设置黄金分割点</source>
        <translation>Set the golden section ratios</translation>
    </message>
</context>
<context>
    <name>tavimo::app::TUiLanguage</name>
    <message>
        <source>中文</source>
        <translation>English</translation>
    </message>
</context>
</TS>
