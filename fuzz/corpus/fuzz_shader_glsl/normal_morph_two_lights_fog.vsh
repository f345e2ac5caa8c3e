vs.1.1
mov	oT0, v2
mov	r8, v0
mov	r9, v1
mov	a0.x, v3.w
mad	r8.xyz, v3.xyz, c[a0.x + 8].x, r8
mad	r9.xyz, v4.xyz, c[a0.x + 8].x, r9
mov	a0.x, v5.w
mad	r8.xyz, v5.xyz, c[a0.x + 8].x, r8
mad	r9.xyz, v6.xyz, c[a0.x + 8].x, r9
dp3	r9.w,r9.xyz,r9.xyz
rsq	r9.w,r9.w
mul	r9.xyz,r9.xyz,r9.www
m4x4	r2, r8, c0
mov	oPos, r2
sub	r0.w, r2.w, c16.x
max	r0.w, c4.x, r0.w
mul	r0.w, r0.w, c16.y
mul	oD1.xyz, r0.w, c15
sub	r1.w, c4.y, r0.w
dp3	r6.x, r9.xyz, c11.xyz
dp3	r6.y, r9.xyz, c13.xyz
max	r6.xy, c4.x, r6.xy
mul	r6.xy, r6.xy, r1.ww
mul	r0.xyz, r6.xxx, c12
mad	r0.xyz, r6.yyy, c14, r0.xyz
add	oD0.rgb,  r0.xyz, c10
mov	oD0.a, c4.y
